#pragma once
// The sound output Lumora plays through: the system's sound device when one opens, otherwise a
// real-time null output (recitation goes on silently) and a message for the window to show once.

#include <memory>
#include <string>

#include "audio/soundoutput.h"

namespace lumora {

std::unique_ptr<SoundOutput> createSystemOutput(std::string& message);

}  // namespace lumora
