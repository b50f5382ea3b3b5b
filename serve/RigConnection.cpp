#include "serve/RigConnection.h"

#include "net/ServerConnection.h"

void RigConnection::Received(ServerConnection& connection, std::string_view bytes) {
  connection.Send(session_.Receive(bytes));
  if (session_.Closing()) connection.CloseWhenSent();
}
