#pragma once
// The sound output's error numbers and the texts Lumora shows for them. The numbers are the ones the
// player's messages have always used, so a user's report of "error 3" still means the same thing.

#include <cstdint>
#include <string>

namespace lumora {

inline constexpr int32_t kSoundNoError = 0;
inline constexpr int32_t kSoundNotInitialised = 2;
inline constexpr int32_t kSoundOutputInitFailed = 3;
inline constexpr int32_t kSoundOutputInUse = 4;
inline constexpr int32_t kSoundPlayFailed = 5;
inline constexpr int32_t kSoundFileNotFound = 9;
inline constexpr int32_t kSoundUnknownFormat = 10;
inline constexpr int32_t kSoundLoadFailed = 11;
inline constexpr int32_t kSoundOutOfMemory = 12;
inline constexpr int32_t kSoundInvalidParameter = 14;

// The first line of every initialisation failure message; the second line is the failure's text.
inline constexpr const char* kSoundInitFailedText = "Sound output cannot initialize because of an error.";

// The text for an error number ("Unknown error" for a number outside the table).
std::string soundErrorText(int32_t number);

// The whole initialisation failure message for an error number.
std::string soundInitFailureMessage(int32_t number);

}  // namespace lumora
