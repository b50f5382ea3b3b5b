#include "http/NMHttp.h"

#include <algorithm>

#include "base/Convert.h"
#include "base/Exception.h"
#include "base/Streams.h"
#include "http/NMURL.h"
#include "http/NMUUE.h"
#include "http/UrlSplit.h"

namespace {

constexpr std::size_t kMaxHeaderValue = 256;

// Sets a flag for the lifetime of a scope.
class RunningFlag {
public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

private:
  bool& flag_;
};

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return text;
}

// The value of a header line from a fixed position on: the terminator (LF
// or CR LF) is dropped, then the value is cut to 256 characters.
std::string ValueFrom(const std::string& line, std::size_t position) {
  std::size_t end = line.size();
  if (end > 0 && line[end - 1] == '\n') --end;
  if (end > 0 && line[end - 1] == '\r') --end;
  if (position >= end) return {};
  return line.substr(position, std::min(end - position, kMaxHeaderValue));
}

bool IsHeaderEnd(const std::string& line) { return line.empty() || line == "\n" || line == "\r\n"; }

// The status of a status line: its second blank-separated field as an
// integer, 0 when that is not a valid integer or does not fit the 16-bit
// reply number.
std::int16_t StatusOf(const std::string& statusLine) {
  const auto value = TryStrToInt(NthField(statusLine, ' ', 2));
  if (!value || *value < INT16_MIN || *value > INT16_MAX) return 0;
  return static_cast<std::int16_t>(*value);
}

}  // namespace

TNMHTTP::TNMHTTP(TComponent* owner)
    : TPowersock(owner), HeaderInfo(std::make_unique<THeaderInfo>()), HeaderList(std::make_unique<TExStringList>()) {}

TNMHTTP::~TNMHTTP() {
  BeginDestroy();
  HeaderInfo.reset();
  HeaderList.reset();
}

void TNMHTTP::Abort() {
  WaitDone = true;
  Cancel();
}

const char* TNMHTTP::MethodWord(CmdType kind) {
  static const char* const kWords[] = {"GET ",  "OPTIONS ", "HEAD ", "POST ",   "PUT ",   "PATCH ", "COPY ",
                                       "MOVE ", "DELETE ",  "LINK ", "UNLINK ", "TRACE ", "SEARCH "};
  return kind <= cmdSEARCH ? kWords[kind] : "GET ";
}

// --- request operations ----------------------------------------------------

void TNMHTTP::RefuseWhileRunning() const {
  if (exchangeRunning_) throw ESockError("Already connected");
}

bool TNMHTTP::CarriesBody(CmdType kind) {
  switch (kind) {
    case cmdPOST:
    case cmdPUT:
    case cmdPATCH:
    case cmdTRACE:
    case cmdSEARCH: return true;
    default: return false;
  }
}

std::string TNMHTTP::PostBody(const std::string& data) {
  if (!EncodePostData || OutputFileMode) return data;
  const std::unique_ptr<TNMURL> encoder = std::make_unique<TNMURL>(this);
  encoder->InputString = data;
  return encoder->EncodedInput();
}

void TNMHTTP::Request(CmdType kind, const std::string& url, const std::string& data) {
  RefuseWhileRunning();
  RequestUrl = url;
  if (CarriesBody(kind)) {
    RequestData = kind == cmdPOST ? PostBody(data) : data;
  } else if (kind == cmdCOPY || kind == cmdMOVE) {
    RequestArgument = data;  // the destination
  } else if (kind == cmdLINK || kind == cmdUNLINK) {
    RequestArgument = data;  // the link value
    RequestData = "Send.dat";
  }
  RequestKind = kind;
  ExecuteRequest();
}

void TNMHTTP::Options(const std::string& url) { Request(cmdOPTIONS, url); }
void TNMHTTP::Get(const std::string& url) { Request(cmdGET, url); }
void TNMHTTP::Post(const std::string& url, const std::string& data) { Request(cmdPOST, url, data); }
void TNMHTTP::Put(const std::string& url, const std::string& data) { Request(cmdPUT, url, data); }
void TNMHTTP::Head(const std::string& url) { Request(cmdHEAD, url); }
void TNMHTTP::Patch(const std::string& url, const std::string& data) { Request(cmdPATCH, url, data); }
void TNMHTTP::Delete(const std::string& url) { Request(cmdDELETE, url); }
void TNMHTTP::Trace(const std::string& url, const std::string& data) { Request(cmdTRACE, url, data); }
void TNMHTTP::Copy(const std::string& url, const std::string& destination) { Request(cmdCOPY, url, destination); }
void TNMHTTP::Move(const std::string& url, const std::string& destination) { Request(cmdMOVE, url, destination); }
void TNMHTTP::Link(const std::string& url, const std::string& linkValue) { Request(cmdLINK, url, linkValue); }
void TNMHTTP::Unlink(const std::string& url, const std::string& linkValue) { Request(cmdUNLINK, url, linkValue); }
void TNMHTTP::Search(const std::string& url, const std::string& data) { Request(cmdSEARCH, url, data); }

// --- the exchange ----------------------------------------------------------

void TNMHTTP::ExecuteRequest() {
  RefuseWhileRunning();
  int followed = 0;
  for (;;) {
    ParseUrl();
    BuildRequestHeader();
    Fire(OnAboutToSend, this);
    Exchange();
    const int status = ReplyNumber;

    if (status >= 300 && status <= 398) {
      bool handled = false;
      if (!LastCookie.empty()) HeaderInfo->Cookie = LastCookie;
      Fire(OnRedirect, handled);
      if (handled) return;
      // A bare name is taken relative to the server that answered; its
      // port is named unless it is the default one.
      if (RequestUrl.find('/') == std::string::npos)
        RequestUrl = "http://" + Host + (Port == 80 ? "" : ":" + IntToStr(Port)) + "/" + RequestUrl;
    }
    if (status == 401) Fire(OnAuthenticationNeeded, this);
    if (status < 300 || status > 302) return;
    if (++followed > kMaxRedirects) throw Exception("Too many redirects");
  }
}

void TNMHTTP::Exchange() {
  RunningFlag running(exchangeRunning_);
  try {
    Connect();
    SendRequest();
    ReplyNumber = 0;
    ReadResponseHeader();
    ReadBody();
    const int status = ReplyNumber;
    if (status < 299) {
      Fire(OnSuccess, RequestKind);
      ReportStatus(kStatusOutcome, "Transaction Completed");
    } else if (status >= 300 && status <= 302) {
      RequestUrl = LastLocation;
    } else if (status >= 400) {
      Fire(OnFailure, RequestKind);
    }
  } catch (...) {
    Disconnect();
    throw;
  }
  Disconnect();
}

void TNMHTTP::ParseUrl() { SplitUrl({RequestUrl, RequestPath, Host, Port}); }

bool TNMHTTP::SendsBody() const { return CarriesBody(RequestKind); }

std::string TNMHTTP::BasicCredentials() const {
  TMemoryStream plain, encoded;
  plain.WriteText(HeaderInfo->UserId + ":" + HeaderInfo->Password);
  const std::unique_ptr<TNMUUProcessor> encoder = std::make_unique<TNMUUProcessor>(const_cast<TNMHTTP*>(this));
  encoder->Method = uuMime;
  encoder->InputStream = &plain;
  encoder->OutputStream = &encoded;
  encoder->Encode();
  std::string lines = encoded.ToString();
  std::erase_if(lines, [](char c) { return c == '\r' || c == '\n'; });
  return lines;
}

void TNMHTTP::BuildRequestHeader() {
  TExStringList& list = *HeaderList;
  const THeaderInfo& info = *HeaderInfo;
  const bool viaProxy = !Proxy.empty();
  list.Clear();

  list.Add(std::string(MethodWord(RequestKind)) + (viaProxy ? RequestUrl : RequestPath) + " HTTP/1.0");
  if (viaProxy) {
    list.Add("Proxy-Connection: Keep-Alive");
    list.Add("Host: " + Host);
  }
  list.SetHeader("Host", Host);  // the host alone, also for a port other than 80
  list.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
  list.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
  if (!info.LocalProgram.empty()) list.SetHeader("User-Agent", info.LocalProgram);
  if (!info.LocalMailAddress.empty()) list.SetHeader("From", info.LocalMailAddress);
  if (!info.Cookie.empty()) list.SetHeader("Cookie", info.Cookie);
  if (!info.Referer.empty()) list.SetHeader("Referer", info.Referer);
  if (!info.UserId.empty() && !info.Password.empty()) list.SetHeader("Authorization", "Basic " + BasicCredentials());
  list.Add("Content-type: application/x-www-form-urlencoded");
  if (RequestKind == cmdCOPY || RequestKind == cmdMOVE) list.Add("URI-header: " + RequestArgument);
  if (RequestKind == cmdLINK || RequestKind == cmdUNLINK) list.Add("Link: " + RequestArgument);
  if (SendsBody()) {
    std::int64_t length = static_cast<std::int64_t>(RequestData.size());
    if (OutputFileMode) length = TFileStream(RequestData, TFileStream::OpenRead).Size();
    list.Add("Content-Length: " + IntToStr(length));
  }
}

void TNMHTTP::SendWhole(const std::string& text) {
  constexpr std::size_t kMaxBlock = 65535;
  for (std::size_t done = 0; done < text.size();) {
    const std::size_t n = std::min(kMaxBlock, text.size() - done);
    SendBuffer(text.data() + done, static_cast<std::uint16_t>(n));
    done += n;
  }
}

void TNMHTTP::SendRequest() {
  Write(HeaderList->Text());
  Writeln("");
  if (!SendsBody()) return;
  if (OutputFileMode) {
    SendFile(RequestData);
  } else {
    // The whole text, as its Content-Length announced: NUL bytes and texts
    // of 64 KiB or more included.
    SendWhole(RequestData);
  }
}

void TNMHTTP::ReadResponseHeader() {
  LastCookie.clear();
  std::unique_ptr<TFileStream> file;
  if (OutputFileMode) {
    file = std::make_unique<TFileStream>(Header, TFileStream::Create);
  } else {
    Header.clear();
  }
  const auto keep = [&](const std::string& line) {
    if (file) {
      file->WriteText(line);
    } else {
      Header += line;
    }
  };

  std::string line = ReadLn();
  if (!line.empty()) ReplyNumber = StatusOf(line);
  keep(line);
  std::size_t total = line.size();

  do {
    line = ReadLn();
    const std::string name = Upper(NthField(line, ' ', 1));
    if (name == "SET-COOKIE:") {
      LastCookie = ValueFrom(line, 12);
    } else if (name == "LOCATION:") {
      LastLocation = ValueFrom(line, 10);
    }
    keep(line);
    // Each line is bounded by ReadLn; a server that never sends the blank
    // line is bounded here, in memory and in the header file alike.
    total += line.size();
    if (total > kMaxHeaderBytes) throw Exception("Response header too long");
  } while (!IsHeaderEnd(line));
}

void TNMHTTP::ReadBody() {
  if (InputFileMode) {
    CaptureFile(Body);
  } else {
    CaptureString(Body, -1);
  }
}
