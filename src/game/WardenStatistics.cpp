#include "game/WardenStatistics.h"

#include "common/KelException.h"
#include "game/GameStatistics.h"

#include <utility>

TWardenStatistics::TWardenStatistics(const TWardenPlay& play, const TWardenCoach& coach,
    const TControl& preview, std::function<std::string()> settingsFile)
    : FPlay(play)
    , FCoach(coach)
    , FPreview(preview)
    , FSettingsFile(std::move(settingsFile))
{
}

// The statistics are a comfort: a settings folder that cannot be found keeps none.
std::string TWardenStatistics::File() const
{
    try {
        return FSettingsFile ? FSettingsFile() : std::string();
    } catch (const KelException&) {
        return {};
    }
}

// Statistics that cannot be written are not worth interrupting the game for.
void TWardenStatistics::PlayEvent(TPlayEvent event)
{
    if (event != TPlayEvent::Started && event != TPlayEvent::Won)
        return;
    const std::string file = File();
    if (file.empty())
        return;
    const TPuzzleBoard& board = FPlay.Game.Board;
    if (event == TPlayEvent::Started)
        RecordGameStarted(file, board.Cols(), board.Rows());
    else
        RecordGameWon(
            file, board.Cols(), board.Rows(), FPlay.Game.History().Moves(), FCoach.Assisted);
}

std::string TWardenStatistics::PreviewTooltip(int32_t x, int32_t y) const
{
    const TRect r = FPreview.BoundsRect();
    if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom)
        return {};
    const std::string file = File();
    const TWardenGame& game = FPlay.Game;
    const int32_t cols = game.Board.Cols(), rows = game.Board.Rows();
    const TSizeStatistics statistics
        = file.empty() ? TSizeStatistics {} : ReadSizeStatistics(file, cols, rows);
    const bool inGame = game.Playing() || (game.Won() && game.NeedNewPuzzle());
    std::string text = StatisticsText(statistics, cols, rows,
        inGame ? std::optional<int32_t>(FPlay.Game.History().Moves()) : std::nullopt);
    if (inGame && FCoach.Par)
        text += " · " + ParText(*FCoach.Par);
    return text;
}
