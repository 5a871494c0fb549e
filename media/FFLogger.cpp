#include "media/FFLogger.h"

namespace media {
void TFFLogger::InstallAVLogCallback() {}
} // namespace media
