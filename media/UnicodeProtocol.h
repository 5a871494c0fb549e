#pragma once
// Placeholder until the unicode file protocol lands.
namespace media {
void RegisterUnicodeProtocol();
void UnregisterUnicodeProtocol();
int UnicodeProtocolRegistrations(); // how often it was registered (tests)
} // namespace media
