#pragma once
// The socket error codes the program itself sets or tests, by their Windows
// numbers: the socket port reports its failures in them, and the error texts
// and the platform's errno mapping share them.

namespace mivo::socket_error {

inline constexpr int BadBuffer = 10014;
inline constexpr int WouldBlock = 10035;
inline constexpr int InProgress = 10036;
inline constexpr int NotSocket = 10038;
inline constexpr int AddressNotAvailable = 10049;
inline constexpr int ConnectionAborted = 10053;
inline constexpr int ConnectionReset = 10054;
inline constexpr int NoBuffers = 10055;
inline constexpr int NotConnected = 10057;
inline constexpr int TimedOut = 10060;
inline constexpr int NotStarted = 10093;
inline constexpr int HostNotFound = 11001;

}  // namespace mivo::socket_error
