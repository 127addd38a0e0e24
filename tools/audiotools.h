#pragma once
// AudioTools: the two programs the sample folder's recordings go through. lame encodes each placeholder
// recording; mpg123, an independent decoder, decodes it again so the build can check that the timing
// table fits what a player will hear.

#include <QString>
#include <cstdint>
#include <vector>

#include "codec/result.h"

namespace lumora::pack {

class AudioTools {
public:
    AudioTools(QString lamePath, QString mpg123Path);

    // 22.05 kHz mono CBR 56 kbps. From 56 kbps up lame writes its gapless tag (encoder delay and
    // padding) at this rate; below it every decoded time would shift by about 52 ms.
    Result<void> encodeMp3(const QString& wavPath, const QString& mp3Path) const;
    // The decoded 16-bit samples (interleaved if the file were stereo), with the encoder's delay and
    // padding removed.
    Result<std::vector<int16_t>> decodeMp3(const QString& mp3Path) const;

    // The first line each program prints about its version, for the manifest.
    Result<QString> lameVersion() const;
    Result<QString> mpg123Version() const;

private:
    QString m_lamePath;
    QString m_mpg123Path;
};

}  // namespace lumora::pack
