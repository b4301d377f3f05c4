#include "play/GameKeeper.h"

#include "common/KelException.h"
#include "common/KeptFile.h"

#include <unistd.h>
#include <utility>

TGameKeeper::TGameKeeper(std::function<std::string()> file)
    : FFile(std::move(file))
{
}

std::string TGameKeeper::File() const
{
    try {
        return FFile ? FFile() : std::string();
    } catch (const KelException&) {
        return {};
    }
}

bool TGameKeeper::Resume(TWardenPlay& play)
{
    if (FStage != TStage::Starting)
        return false;
    FStage = TStage::Playing;
    FPlay = &play;
    const std::string file = File();
    if (file.empty())
        return false;
    std::optional<TTakenFile> taken = TTakenFile::Take(file, MaxKeptGameBytes);
    if (!taken)
        return false;
    const std::optional<TKeptGame> game
        = taken->Text() ? ReadKeptGameText(*taken->Text()) : std::nullopt;
    if (!game || !play.Resume(*game)) {
        taken->SetAside();
        return false;
    }
    taken->Drop();
    return true;
}

void TGameKeeper::Keep(TWardenPlay& play)
{
    if (FStage != TStage::Playing)
        return;
    FStage = TStage::Closed;
    play.Settle();
    Write(play);
}

void TGameKeeper::PlayEvent(TPlayEvent event, const TPlayView&)
{
    if (FStage != TStage::Playing || FPlay == nullptr)
        return;
    switch (event) {
    case TPlayEvent::Scrambled:
    case TPlayEvent::Moved:
    case TPlayEvent::Won:
    case TPlayEvent::Stopped:
        Write(*FPlay);
        break;
    case TPlayEvent::Started:
    case TPlayEvent::Resized:
    case TPlayEvent::Resumed:
        break;
    }
}

// A game that cannot be written is lost like one closed before games were kept.
void TGameKeeper::Write(const TWardenPlay& play)
{
    const std::string file = File();
    if (file.empty())
        return;
    if (const std::optional<TKeptGame> game = play.Kept())
        WriteKeptFile(file, KeptGameText(*game));
    else
        ::unlink(file.c_str());
}
