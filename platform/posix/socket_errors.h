#pragma once
// The thread's last socket error, in the socket interface's numbers, and the
// translation from errno and from getaddrinfo's codes.

namespace sock::detail {

int ErrorFromErrno(int errnoValue);
int ErrorFromLookup(int gaiCode, int errnoValue);

void SetLastError(int error);
// Stores the translation of errno as the last error and answers kSocketError.
int FailFromErrno();

}  // namespace sock::detail
