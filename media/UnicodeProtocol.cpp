#include "media/UnicodeProtocol.h"

namespace media {
namespace {
bool g_registered = false;
int g_registrations = 0;
} // namespace
void RegisterUnicodeProtocol() {
    if (g_registered) return;
    g_registered = true;
    ++g_registrations;
}
void UnregisterUnicodeProtocol() {
    g_registered = false;
}
int UnicodeProtocolRegistrations() {
    return g_registrations;
}
} // namespace media
