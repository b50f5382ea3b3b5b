#include "serve/FeedConnection.h"

#include "net/ServerConnection.h"
#include "serve/FeedAnswer.h"

void FeedConnection::Opened(ServerConnection& connection) { connection.SetDeadline(kHeadDeadlineMs); }

void FeedConnection::Received(ServerConnection& connection, std::string_view bytes) {
  switch (head_.Add(bytes)) {
    case RequestHead::Status::NeedMore: return;
    case RequestHead::Status::TooLong: connection.Close(); return;
    case RequestHead::Status::Complete:
    case RequestHead::Status::Bad:
      connection.ClearDeadline();
      connection.Send(AnswerFeedRequest(head_, panel_.Read()));
      connection.CloseWhenSent();
      return;
  }
}
