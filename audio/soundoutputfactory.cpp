#include "audio/soundoutputfactory.h"

#include "audio/nulloutput.h"
#include "audio/sdloutput.h"
#include "audio/sounderrors.h"

namespace lumora {

std::unique_ptr<SoundOutput> createSystemOutput(std::string& message) {
    message.clear();
    Result<std::unique_ptr<SdlOutput>> created = SdlOutput::create();
    if (created) {
        std::unique_ptr<SdlOutput> output = std::move(created.value());
        // Opened here, with the format the player starts with, so a missing device shows at once.
        if (output->start(SoundFormat{}, nullptr)) {
            return output;
        }
    }
    message = soundInitFailureMessage(kSoundOutputInitFailed);
    return std::make_unique<NullOutput>(NullOutput::Mode::RealTime);
}

}  // namespace lumora
