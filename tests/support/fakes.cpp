#include "fakes.h"
#include <QFileInfo>
#include <algorithm>

namespace fm::test
{

Answer FakeDialogs::question(QWidget *, const QString &text)
{
    calls.push_back({Kind::Question, text});
    if (answers.empty())
        return whenScriptEmpty;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

QStringList FakeDialogs::texts() const
{
    QStringList out;
    for (const Call &c : calls)
        out << c.text;
    return out;
}

int FakeDialogs::count(Kind kind) const
{
    return int(std::count_if(calls.begin(), calls.end(), [kind](const Call &c) { return c.kind == kind; }));
}

FakeMediaPlayer::FakeMediaPlayer(FakeSound &sound, bool isMusic) : music(isMusic), sound_(sound)
{
    sound_.players.push_back(this);
}

FakeMediaPlayer::~FakeMediaPlayer()
{
    auto &v = sound_.players;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

bool FakeMediaPlayer::op(const QString &name, const QString &detail)
{
    sound_.log << (sound_.nameOf(this) + ' ' + name + (detail.isEmpty() ? QString() : ' ' + detail));
    return !sound_.failures.contains((music ? QStringLiteral("music:") : QStringLiteral("wave:")) + name);
}

bool FakeMediaPlayer::open(const QString &p)
{
    if (!op(QStringLiteral("open"), QFileInfo(p).fileName()))
        return false;
    path = p;
    open_ = true;
    position = 0;
    playing = false;
    return true;
}

bool FakeMediaPlayer::play()
{
    if (!op(QStringLiteral("play")))
        return false;
    if (position >= length)
        position = 0; // from the end it starts again
    playedFrom = position;
    playing = true;
    return true;
}

bool FakeMediaPlayer::stop()
{
    if (!op(QStringLiteral("stop")))
        return false;
    playing = false;
    return true;
}

bool FakeMediaPlayer::rewind()
{
    if (!op(QStringLiteral("rewind")))
        return false;
    position = 0;
    return true;
}

void FakeMediaPlayer::close()
{
    op(QStringLiteral("close"));
    open_ = false;
    playing = false;
}

void FakeMediaPlayer::advance(int ms)
{
    if (!playing)
        return;
    position = std::min(length, position + ms);
    if (position >= length) {
        playing = false;
        reachedEnd();
    }
}

std::unique_ptr<MediaPlayer> FakeSound::createMusicPlayer()
{
    auto p = std::make_unique<FakeMediaPlayer>(*this, true);
    names_.emplace_back(p.get(), QStringLiteral("music%1").arg(++created_));
    return p;
}

std::unique_ptr<MediaPlayer> FakeSound::createWavePlayer()
{
    auto p = std::make_unique<FakeMediaPlayer>(*this, false);
    names_.emplace_back(p.get(), QStringLiteral("wave%1").arg(++created_));
    return p;
}

QString FakeSound::nameOf(const FakeMediaPlayer *p) const
{
    // Latest entry wins: an address may be reused after a player is freed.
    for (auto it = names_.rbegin(); it != names_.rend(); ++it)
        if (it->first == p)
            return it->second;
    return QStringLiteral("?");
}

FakeMediaPlayer *FakeSound::playerFor(const QString &fileName) const
{
    for (FakeMediaPlayer *p : players)
        if (p->isOpen() && QFileInfo(p->path).fileName() == fileName)
            return p;
    return nullptr;
}

int ScriptedRandom::random(int n)
{
    asked.push_back(n);
    if (!script.empty()) {
        int v = script.front();
        script.pop_front();
        return v;
    }
    return fallback_.random(n);
}

double ScriptedRandom::real()
{
    if (!reals.empty()) {
        double v = reals.front();
        reals.pop_front();
        return v;
    }
    return fallback_.real();
}

QImage FakePictures::bitmap(const QString &name) const
{
    asked << name;
    if (auto it = bitmaps.find(name); it != bitmaps.end())
        return *it;
    return files_.bitmap(name);
}

std::optional<media::WmfPicture> FakePictures::metafile(const QString &name, media::WmfError *error) const
{
    asked << name;
    if (auto it = metafiles.find(name); it != metafiles.end())
        return media::WmfPicture::fromData(*it, name, error);
    return files_.metafile(name, error);
}

FakeHandwriting::FakeHandwriting()
{
    // Kanji 1 is 一 and kanji 2 is 二; tests set the others they need.
    strokes[1] = {{{30, 128}, {226, 128}}};
    strokes[2] = {{{60, 90}, {196, 90}}, {{30, 180}, {226, 180}}};
}

void FakeHandwriting::open()
{
    ++opens;
    if (current == Status::Closed)
        current = stayOpening ? Status::Opening : openReady ? Status::Ready : Status::Failed;
    emit statusChanged();
}

void FakeHandwriting::finishOpening(bool ready)
{
    if (current != Status::Opening)
        return;
    current = ready ? Status::Ready : Status::Failed;
    emit statusChanged();
}

QVector<int> FakeHandwriting::candidates(const Ink &ink, int)
{
    asked.append(ink);
    return current == Status::Ready ? answer : QVector<int>();
}

} // namespace fm::test
