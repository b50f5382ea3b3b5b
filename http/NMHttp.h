#pragma once
// TNMHTTP: one HTTP/1.0 exchange at a time over the socket session it
// derives from. A request operation returns when the exchange is over, with
// the response header and body saved to files or to the Header and Body
// texts, and the outcome reported through events. HTTP error statuses are
// events, never exceptions; failures of the URL, the network or a file are
// raised, after the connection has been closed.
//
// Redirects (300 to 302) are followed by themselves, at most 20 in one
// request; the next one raises "Too many redirects". A cookie that comes
// with a redirect is sent with the following requests. Statuses 299 and 303
// to 399 end the exchange after their events.
//
// A response header of more than 1 MiB (lines that never reach the blank
// line) raises "Response header too long" rather than growing without end.
//
// The thirteenth request kind is SEARCH (cmdSEARCH, operation Search): a
// request line "SEARCH <target> HTTP/1.0" with the data as its body and its
// Content-Length. LINK and UNLINK send their "Link: " line but neither a
// body nor a Content-Length.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Component.h"
#include "base/Events.h"
#include "http/NMExtstr.h"
#include "net/Psock.h"

enum CmdType : std::uint8_t {
  cmdGET = 0,
  cmdOPTIONS = 1,
  cmdHEAD = 2,
  cmdPOST = 3,
  cmdPUT = 4,
  cmdPATCH = 5,
  cmdCOPY = 6,
  cmdMOVE = 7,
  cmdDELETE = 8,
  cmdLINK = 9,
  cmdUNLINK = 10,
  cmdTRACE = 11,
  cmdSEARCH = 12,
};

using TResultEvent = std::function<void(CmdType Cmd)>;

// Optional values of the request header; an empty value sends no line.
class THeaderInfo : public TPersistent {
public:
  std::string LocalMailAddress;  // From
  std::string LocalProgram;      // User-Agent
  std::string Cookie;
  std::string Referer;
  std::string UserId;  // Basic credentials, sent when both are set
  std::string Password;
};

class TNMHTTP : public TPowersock {
public:
  static constexpr int kMaxRedirects = 20;
  static constexpr std::size_t kMaxHeaderBytes = std::size_t{1} << 20;

  explicit TNMHTTP(TComponent* owner);
  ~TNMHTTP() override;

  // Ends a host lookup wait and cancels the transfer in progress.
  void Abort() override;

  // Every request operation below runs this: kind, URL, and the data the
  // kind takes (the body of POST, PUT, PATCH, TRACE and SEARCH; the
  // destination of COPY and MOVE; the link value of LINK and UNLINK).
  void Request(CmdType kind, const std::string& url, const std::string& data = {});

  virtual void Options(const std::string& url);
  virtual void Get(const std::string& url);
  virtual void Post(const std::string& url, const std::string& data);
  virtual void Put(const std::string& url, const std::string& data);
  virtual void Head(const std::string& url);
  virtual void Patch(const std::string& url, const std::string& data);
  virtual void Delete(const std::string& url);
  virtual void Trace(const std::string& url, const std::string& data);
  virtual void Copy(const std::string& url, const std::string& destination);
  virtual void Move(const std::string& url, const std::string& destination);
  virtual void Link(const std::string& url, const std::string& linkValue);
  virtual void Unlink(const std::string& url, const std::string& linkValue);
  virtual void Search(const std::string& url, const std::string& data);

  // Published.
  using TPowersock::OnPacketRecvd;
  using TPowersock::OnPacketSent;
  using TPowersock::Proxy;
  using TPowersock::ProxyPort;
  std::string Body = "Default.htm";  // file name with InputFileMode, else the body text
  std::string Header = "Head.txt";   // file name with OutputFileMode, else the header text
  std::unique_ptr<THeaderInfo> HeaderInfo;
  bool InputFileMode = false;   // the response body goes to the file named by Body
  bool OutputFileMode = false;  // request data names a file; header to the file named by Header
  TNotifyEvent OnAboutToSend;
  TResultEvent OnSuccess;               // status below 299
  TResultEvent OnFailure;               // status 400 or more
  THandlerEvent OnRedirect;             // status 300 to 398, after the connection is closed
  TNotifyEvent OnAuthenticationNeeded;  // status 401, after the connection is closed

  // Request state, kept between exchanges.
  CmdType RequestKind = cmdGET;
  std::string RequestUrl;
  std::string RequestPath;
  std::string RequestData;
  std::string RequestArgument;
  std::unique_ptr<TExStringList> HeaderList;
  std::string LastLocation;
  std::string LastCookie;
  bool EncodePostData = true;

  // The method word of a request kind, with its trailing blank ("GET ").
  static const char* MethodWord(CmdType kind);

  // The steps of a request; the request operations run ExecuteRequest.
  virtual void ExecuteRequest();
  virtual void ParseUrl();
  virtual void BuildRequestHeader();
  virtual void ReadResponseHeader();
  virtual void SendRequest();

private:
  // A request started while another one runs on this component (from one
  // of its handlers) is refused with "Already connected" before it changes
  // anything, so the running one goes on untouched.
  void RefuseWhileRunning() const;
  // One exchange on one connection: connect, send, read header and body,
  // report the outcome; the connection is closed on every way out.
  void Exchange();
  void ReadBody();
  std::string BasicCredentials() const;
  bool SendsBody() const;
  static bool CarriesBody(CmdType kind);
  // POST data as sent: form-encoded unless EncodePostData is off or the data
  // names a file (OutputFileMode).
  std::string PostBody(const std::string& data);
  // Sends text whole, NUL bytes included, in blocks the session can send.
  void SendWhole(const std::string& text);

  bool exchangeRunning_ = false;
};
