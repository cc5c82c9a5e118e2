#include "media/pcmaudio.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace fm::media
{

namespace
{

void putU32(QByteArray &b, quint32 v)
{
    char x[4];
    qToLittleEndian(v, x);
    b.append(x, 4);
}

void putU16(QByteArray &b, quint16 v)
{
    char x[2];
    qToLittleEndian(v, x);
    b.append(x, 2);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

bool writeWav(const QString &path, const PcmBuffer &pcm, QString *error)
{
    const quint32 dataBytes = static_cast<quint32>(pcm.samples.size() * 2);
    QByteArray b;
    b.reserve(44 + dataBytes);
    b.append("RIFF");
    putU32(b, 36 + dataBytes);
    b.append("WAVEfmt ");
    putU32(b, 16);
    putU16(b, 1); // PCM
    putU16(b, static_cast<quint16>(pcm.channels));
    putU32(b, static_cast<quint32>(pcm.sampleRate));
    putU32(b, static_cast<quint32>(pcm.sampleRate * pcm.channels * 2));
    putU16(b, static_cast<quint16>(pcm.channels * 2));
    putU16(b, 16);
    b.append("data");
    putU32(b, dataBytes);
    for (int16_t s : pcm.samples)
        putU16(b, static_cast<quint16>(s));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(b) != b.size() || !file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

std::optional<PcmBuffer> readWav(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return std::nullopt;
    }
    const QByteArray b = file.readAll();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
        setError(error, QStringLiteral("not a RIFF/WAVE file"));
        return std::nullopt;
    }
    PcmBuffer pcm;
    bool haveFormat = false;
    for (qsizetype pos = 12; pos + 8 <= b.size();) {
        const QByteArray id = b.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (size > quint32(b.size() - body)) {
            setError(error, QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id)));
            return std::nullopt;
        }
        if (id == "fmt ") {
            if (size < 16) {
                setError(error, QStringLiteral("short format chunk"));
                return std::nullopt;
            }
            const char *f = b.constData() + body;
            const auto tag = qFromLittleEndian<quint16>(f);
            pcm.channels = qFromLittleEndian<quint16>(f + 2);
            pcm.sampleRate = static_cast<int>(qFromLittleEndian<quint32>(f + 4));
            const auto bits = qFromLittleEndian<quint16>(f + 14);
            if (tag != 1 || bits != 16 || pcm.channels < 1 || pcm.sampleRate < 1) {
                setError(error, QStringLiteral("not 16-bit PCM"));
                return std::nullopt;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                setError(error, QStringLiteral("data before format"));
                return std::nullopt;
            }
            pcm.samples.resize(size / 2);
            for (size_t i = 0; i < pcm.samples.size(); ++i)
                pcm.samples[i] = qFromLittleEndian<qint16>(b.constData() + body + 2 * i);
            return pcm;
        }
        pos = body + size + (size & 1);
    }
    setError(error, QStringLiteral("no data chunk"));
    return std::nullopt;
}

double rms(const PcmBuffer &pcm)
{
    if (pcm.samples.empty())
        return 0;
    double sum = 0;
    for (int16_t s : pcm.samples)
        sum += double(s) * s;
    return std::sqrt(sum / pcm.samples.size()) / 32768.0;
}

double peak(const PcmBuffer &pcm)
{
    int m = 0;
    for (int16_t s : pcm.samples)
        m = std::max(m, std::abs(int(s)));
    return m / 32768.0;
}

} // namespace fm::media
