#include "audio/sounderrors.h"

#include <array>

namespace lumora {

std::string soundErrorText(int32_t number) {
    // Texts 1 and 2 name Lumora's sound output where the old texts named a library function.
    static const std::array<const char*, 20> kTexts{
        "No errors",
        "Cannot call this command after the sound output is initialized.  Close the sound output first.",
        "This command failed because the sound output was not initialized",
        "Error initializing output device.",
        "The output device is already in use and cannot be reused.",
        "Playing the sound failed.",
        "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
        "Error setting cooperative level for hardware.",
        "Error creating hardware sound buffer.",
        "File not found",
        "Unknown file format",
        "Error loading file",
        "Not enough memory ",
        "The version number of this file format is not supported",
        "An invalid parameter was passed to this function",
        "Tried to use an EAX command on a non EAX enabled channel or output.",
        "Failed to allocate a new channel",
        "Recording is not supported on this machine",
        "Required Mediaplayer codec is not installed",
        "An error occured trying to open the specified CD device",
    };
    if (number < 0 || number >= static_cast<int32_t>(kTexts.size())) {
        return "Unknown error";
    }
    return kTexts[static_cast<size_t>(number)];
}

std::string soundInitFailureMessage(int32_t number) {
    return std::string(kSoundInitFailedText) + "\n" + soundErrorText(number);
}

}  // namespace lumora
