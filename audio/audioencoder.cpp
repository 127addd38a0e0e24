#include "audio/audioencoder.h"

#include <lame/lame.h>
#include <opus/opusenc.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lumora {

namespace {

constexpr int32_t kEncoderError = 1;

Error encoderError(const std::string& description) { return Error{kEncoderError, "AudioEncoder", description, 0}; }

std::string lowerExtension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// MP3 through LAME at a constant rate fit for speech: 64 kbps per channel.
class Mp3Encoder : public AudioEncoder {
public:
    Mp3Encoder(int32_t sampleRateHz, int32_t channels) : m_channels(channels) {
        m_lame = lame_init();
        if (m_lame == nullptr) {
            return;
        }
        lame_set_in_samplerate(m_lame, sampleRateHz);
        lame_set_out_samplerate(m_lame, sampleRateHz);
        lame_set_num_channels(m_lame, channels);
        lame_set_mode(m_lame, channels == 1 ? MONO : JOINT_STEREO);
        lame_set_brate(m_lame, 64 * channels);
        lame_set_quality(m_lame, 2);
        lame_set_bWriteVbrTag(m_lame, 1);
        m_ready = lame_init_params(m_lame) >= 0;
    }
    ~Mp3Encoder() override {
        if (m_lame != nullptr) {
            lame_close(m_lame);
        }
    }
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    bool ready() const { return m_ready; }

    Result<void> write(const float* interleaved, int64_t frames) override {
        constexpr int64_t kPiece = 4096;
        for (int64_t done = 0; done < frames;) {
            const auto count = static_cast<int32_t>(std::min(kPiece, frames - done));
            m_left.resize(static_cast<size_t>(count));
            m_right.resize(static_cast<size_t>(count));
            const float* from = interleaved + static_cast<size_t>(done) * static_cast<size_t>(m_channels);
            for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
                m_left[i] = from[i * static_cast<size_t>(m_channels)];
                m_right[i] = m_channels > 1 ? from[i * static_cast<size_t>(m_channels) + 1] : m_left[i];
            }
            // LAME's bound for its output: 1.25 × samples + 7200 bytes.
            m_buffer.resize(static_cast<size_t>(count) * 5 / 4 + 7200);
            const int written = lame_encode_buffer_ieee_float(m_lame, m_left.data(), m_right.data(), count,
                                                              m_buffer.data(), static_cast<int>(m_buffer.size()));
            if (written < 0) {
                return encoderError("The MP3 encoder failed (" + std::to_string(written) + ").");
            }
            m_bytes.insert(m_bytes.end(), m_buffer.begin(), m_buffer.begin() + written);
            done += count;
        }
        return {};
    }

    Result<void> finish() override {
        m_buffer.resize(7200);
        const int written = lame_encode_flush(m_lame, m_buffer.data(), static_cast<int>(m_buffer.size()));
        if (written < 0) {
            return encoderError("The MP3 encoder failed (" + std::to_string(written) + ").");
        }
        m_bytes.insert(m_bytes.end(), m_buffer.begin(), m_buffer.begin() + written);
        // The first frame was a placeholder for the tag that tells decoders the delay and padding.
        std::vector<unsigned char> tag(8192);
        const size_t tagSize = lame_get_lametag_frame(m_lame, tag.data(), tag.size());
        if (tagSize > 0 && tagSize <= tag.size()) {
            m_headerPatch.assign(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize));
        }
        return {};
    }

private:
    lame_global_flags* m_lame = nullptr;
    bool m_ready = false;
    int32_t m_channels;
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<unsigned char> m_buffer;
};

// Ogg Opus through libopusenc, which resamples to Opus's 48 kHz itself.
class OpusEncoder : public AudioEncoder {
public:
    OpusEncoder(int32_t sampleRateHz, int32_t channels) : m_channels(channels) {
        m_comments = ope_comments_create();
        if (m_comments == nullptr) {
            return;
        }
        ope_comments_add(m_comments, "ENCODER", "Lumora");
        OpusEncCallbacks callbacks{&OpusEncoder::append, &OpusEncoder::close};
        int error = OPE_OK;
        m_encoder = ope_encoder_create_callbacks(&callbacks, this, m_comments, sampleRateHz, channels,
                                                 channels > 2 ? 1 : 0, &error);
        m_ready = m_encoder != nullptr && error == OPE_OK;
    }
    ~OpusEncoder() override {
        if (m_encoder != nullptr) {
            ope_encoder_destroy(m_encoder);
        }
        if (m_comments != nullptr) {
            ope_comments_destroy(m_comments);
        }
    }
    OpusEncoder(const OpusEncoder&) = delete;
    OpusEncoder& operator=(const OpusEncoder&) = delete;

    bool ready() const { return m_ready; }

    Result<void> write(const float* interleaved, int64_t frames) override {
        constexpr int64_t kPiece = 4096;
        for (int64_t done = 0; done < frames; done += kPiece) {
            const auto count = static_cast<int>(std::min(kPiece, frames - done));
            const int result = ope_encoder_write_float(
                m_encoder, interleaved + static_cast<size_t>(done) * static_cast<size_t>(channelsOf()), count);
            if (result != OPE_OK) {
                return encoderError(std::string("The Opus encoder failed: ") + ope_strerror(result));
            }
        }
        return {};
    }

    Result<void> finish() override {
        const int result = ope_encoder_drain(m_encoder);
        if (result != OPE_OK) {
            return encoderError(std::string("The Opus encoder failed: ") + ope_strerror(result));
        }
        return {};
    }

private:
    int32_t channelsOf() const { return m_channels; }
    static int append(void* user, const unsigned char* data, opus_int32 length) {
        auto* self = static_cast<OpusEncoder*>(user);
        self->m_bytes.insert(self->m_bytes.end(), data, data + length);
        return 0;
    }
    static int close(void*) { return 0; }

    int32_t m_channels;
    OggOpusComments* m_comments = nullptr;
    OggOpusEnc* m_encoder = nullptr;
    bool m_ready = false;
};

}  // namespace

bool AudioEncoder::knowsFileName(const std::string& fileName) {
    const std::string extension = lowerExtension(fileName);
    return extension == "mp3" || extension == "opus";
}

Result<std::unique_ptr<AudioEncoder>> AudioEncoder::forFileName(const std::string& fileName, int32_t sampleRateHz,
                                                                int32_t channels) {
    const std::string extension = lowerExtension(fileName);
    if (extension == "mp3") {
        auto encoder = std::make_unique<Mp3Encoder>(sampleRateHz, channels);
        if (!encoder->ready()) {
            return encoderError("The MP3 encoder cannot start.");
        }
        return std::unique_ptr<AudioEncoder>(std::move(encoder));
    }
    if (extension == "opus") {
        auto encoder = std::make_unique<OpusEncoder>(sampleRateHz, channels);
        if (!encoder->ready()) {
            return encoderError("The Opus encoder cannot start.");
        }
        return std::unique_ptr<AudioEncoder>(std::move(encoder));
    }
    return encoderError("A practice track is written as .mp3 or .opus, not as '" +
                        (extension.empty() ? std::string("(no extension)") : "." + extension) + "'.");
}

}  // namespace lumora
