#pragma once
// The socket error codes the program itself sets or tests, by their Windows
// numbers, which the error texts and the platform's errno mapping share.

namespace mivo::socket_error {

inline constexpr int BadBuffer = 10014;
inline constexpr int WouldBlock = 10035;
inline constexpr int InProgress = 10036;
inline constexpr int NotSocket = 10038;
inline constexpr int AddressNotAvailable = 10049;
inline constexpr int NoBuffers = 10055;
inline constexpr int TimedOut = 10060;
inline constexpr int NotStarted = 10093;

}  // namespace mivo::socket_error
