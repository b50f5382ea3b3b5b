// The state feed's request handling: collecting the head, what it asks for,
// and the exact answers.
#include <gtest/gtest.h>

#include "serve/FeedAnswer.h"
#include "serve/FeedRequest.h"

namespace {

using Status = RequestHead::Status;

TEST(RequestHeadReader, CompletesAtTheEmptyLineWhateverThePieces) {
  const std::string request = "GET /freq.ini HTTP/1.0\r\nUser-Agent: x\r\n\r\nbody bytes";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, request.size()}) {
    RequestHead head;
    Status status = Status::NeedMore;
    for (std::size_t at = 0; at < request.size(); at += piece) status = head.Add(request.substr(at, piece));
    EXPECT_EQ(status, Status::Complete) << piece;
    EXPECT_EQ(head.Text(), "GET /freq.ini HTTP/1.0\r\nUser-Agent: x\r\n\r\n") << piece;
  }
}

TEST(RequestHeadReader, TakesBareLineFeedsAndSkipsEmptyLinesBeforeTheRequest) {
  RequestHead head;
  EXPECT_EQ(head.Add("\r\n\n\r\n"), Status::NeedMore);
  EXPECT_EQ(head.Add("GET / HTTP/1.0\n"), Status::NeedMore);
  EXPECT_EQ(head.Add("\n"), Status::Complete);
  EXPECT_EQ(head.Text(), "GET / HTTP/1.0\n\n");
}

TEST(RequestHeadReader, AHeadOverEightKibIsTooLongButOneOfExactlyEightKibIsNot) {
  const std::string line = "GET /freq.ini HTTP/1.0\r\n";
  const std::string filler = "X-Pad: " + std::string(RequestHead::kMaxBytes - line.size() - 7 - 4, 'a') + "\r\n";
  const std::string exact = line + filler + "\r\n";
  ASSERT_EQ(exact.size(), RequestHead::kMaxBytes);
  RequestHead fits;
  EXPECT_EQ(fits.Add(exact), Status::Complete);

  RequestHead over;
  EXPECT_EQ(over.Add(line + "X-Pad: a" + filler.substr(7) + "\r\n"), Status::TooLong);
  RequestHead endless;
  for (int i = 0; i < 100 && endless.status() == Status::NeedMore; ++i) endless.Add(std::string(1000, 'a'));
  EXPECT_EQ(endless.status(), Status::TooLong);
  EXPECT_LE(endless.Text().size(), RequestHead::kMaxBytes);
  EXPECT_EQ(endless.Add("\r\n\r\n"), Status::TooLong);  // nothing after the verdict counts
}

TEST(RequestHeadReader, AControlByteIsBadAtOnce) {
  for (const std::string& bytes : {std::string("GET /\0", 6), std::string("\x16\x03\x01\x02\x00", 5),
                                  std::string("GET / HTTP/1.0\r\nX: \x7f")}) {
    RequestHead head;
    EXPECT_EQ(head.Add(bytes), Status::Bad);
  }
}

TEST(FeedRequestParse, ServesGetAndHeadOfFreqIniInEveryAcceptedForm) {
  for (const char* head : {"GET /freq.ini HTTP/1.0\r\n\r\n", "GET /freq.ini HTTP/1.1\r\nHost: a\r\n\r\n",
                           "GET /freq.ini HTTP/1.1\n\n", "GET /freq.ini?t=12345 HTTP/1.0\r\n\r\n",
                           "GET http://panel.example:8073/freq.ini HTTP/1.0\r\n\r\n",
                           "GET HTTP://10.0.0.2/freq.ini?x HTTP/1.0\r\n\r\n",
                           "GET  /freq.ini   HTTP/1.0\r\nX-Long: a\r\n  continued\r\nAccept:\r\n\r\n"}) {
    const FeedRequest request = ParseFeedRequest(head);
    EXPECT_EQ(request.status, 200) << head;
    EXPECT_FALSE(request.headOnly) << head;
  }
  const FeedRequest head = ParseFeedRequest("HEAD /freq.ini HTTP/1.0\r\n\r\n");
  EXPECT_EQ(head.status, 200);
  EXPECT_TRUE(head.headOnly);
}

TEST(FeedRequestParse, OtherPathsMethodsVersionsAndMalformedHeads) {
  struct Case {
    const char* head;
    int status;
  };
  for (const Case& c : {
           Case{"GET / HTTP/1.0\r\n\r\n", 404},
           Case{"GET /FREQ.INI HTTP/1.0\r\n\r\n", 404},
           Case{"GET /freq%2Eini HTTP/1.0\r\n\r\n", 404},
           Case{"GET /freq.ini/ HTTP/1.0\r\n\r\n", 404},
           Case{"GET http://host HTTP/1.0\r\n\r\n", 404},
           Case{"POST /other HTTP/1.0\r\n\r\n", 404},
           Case{"POST /freq.ini HTTP/1.0\r\nContent-Length: 0\r\n\r\n", 405},
           Case{"get /freq.ini HTTP/1.0\r\n\r\n", 405},
           Case{"OPTIONS /freq.ini HTTP/1.1\r\n\r\n", 405},
           Case{"GET /freq.ini HTTP/2.0\r\n\r\n", 505},
           Case{"GET /freq.ini HTTP/0.9\r\n\r\n", 505},
           Case{"GET /freq.ini\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.0 extra\r\n\r\n", 400},
           Case{"GET /freq.ini http/1.0\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.x\r\n\r\n", 400},
           Case{"GET freq.ini HTTP/1.0\r\n\r\n", 400},
           Case{"GET * HTTP/1.0\r\n\r\n", 400},
           Case{"GET https://h/freq.ini HTTP/1.0\r\n\r\n", 400},
           Case{"GET http:///freq.ini HTTP/1.0\r\n\r\n", 400},
           Case{"GET /fr\xe9q.ini HTTP/1.0\r\n\r\n", 400},
           Case{"G(T /freq.ini HTTP/1.0\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.0\r\nNo colon here\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.0\r\nBad name: x\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.0\r\n folded first\r\n\r\n", 400},
           Case{"GET /freq.ini HTTP/1.0\rX: y\r\n\r\n", 400},
           Case{"\r\n", 400},
       }) {
    EXPECT_EQ(ParseFeedRequest(c.head).status, c.status) << c.head;
  }
}

class FeedAnswerTest : public ::testing::Test {
protected:
  std::string AnswerTo(const std::string& bytes) {
    RequestHead head;
    head.Add(bytes);
    return AnswerFeedRequest(head, panel);
  }
  PanelSnapshot panel{"14200", "3", 3, false, true};
};

TEST_F(FeedAnswerTest, GetAnswersTheFourLinesAndHeadTheSameHeaderAlone) {
  const std::string header =
      "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 13\r\n"
      "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
  EXPECT_EQ(AnswerTo("GET /freq.ini HTTP/1.1\r\nHost: x\r\n\r\n"), header + "14200\n3\nAM\n1\n");
  EXPECT_EQ(AnswerTo("HEAD /freq.ini HTTP/1.0\r\n\r\n"), header);
  panel = {"7050", "0", 0, true, false};
  EXPECT_EQ(AnswerTo("GET /freq.ini HTTP/1.0\r\n\r\n"), header + "7050\n0\nSSB\n0\n");
}

// The follow file's texts go out as the panel shows them, however odd.
TEST_F(FeedAnswerTest, TheTextsAreSentAsShown) {
  panel = {"abc", "12", 9, true, false};
  EXPECT_EQ(FreqIniText(panel), "abc\n12\nSSB\n0\n");
}

TEST_F(FeedAnswerTest, ErrorsCarryAShortBodyAndAFourOhFiveNamesTheMethods) {
  EXPECT_EQ(AnswerTo("PUT /freq.ini HTTP/1.0\r\n\r\n"),
            "HTTP/1.0 405 Method Not Allowed\r\nContent-Type: text/plain\r\nContent-Length: 19\r\n"
            "Allow: GET, HEAD\r\nCache-Control: no-store\r\nConnection: close\r\n\r\nMethod Not Allowed\n");
  EXPECT_EQ(AnswerTo("GET /x HTTP/1.0\r\n\r\n").substr(0, 24), "HTTP/1.0 404 Not Found\r\n");
  const std::string headOf404 = AnswerTo("HEAD /x HTTP/1.0\r\n\r\n");
  EXPECT_EQ(headOf404.substr(headOf404.size() - 4), "\r\n\r\n");  // no body
  EXPECT_EQ(AnswerTo("GET /freq.ini HTTP/3.0\r\n\r\n").substr(0, 41), "HTTP/1.0 505 HTTP Version Not Supported\r\n");
  const std::string bad = AnswerTo(std::string("\x16\x03\x01\x00", 4));
  EXPECT_EQ(bad.substr(0, 26), "HTTP/1.0 400 Bad Request\r\n");
  EXPECT_EQ(bad.substr(bad.size() - 16), "\r\n\r\nBad Request\n");
}

}  // namespace
