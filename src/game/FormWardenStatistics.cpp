#include "game/FormWarden.h"

#include "common/KelException.h"
#include "game/GameStatistics.h"

// The statistics are a comfort: a settings folder that cannot be found keeps none.
std::string TFormWarden::StatisticsFile() const
{
    try {
        return SettingsFile ? SettingsFile() : std::string();
    } catch (const KelException&) {
        return {};
    }
}

void TFormWarden::GameEvent(TPlayEvent event)
{
    CoachEvent(event);
    Announce(event);
    const std::string file = StatisticsFile();
    if (file.empty() || !Play)
        return;
    const TPuzzleBoard& board = Play->Game.Board;
    // Statistics that cannot be written are not worth interrupting the game for.
    if (event == TPlayEvent::Started)
        RecordGameStarted(file, board.Cols(), board.Rows());
    else if (event == TPlayEvent::Won)
        RecordGameWon(file, board.Cols(), board.Rows(), Play->History.Moves(), Coach.Assisted);
}

std::string TFormWarden::PreviewTooltip(int32_t x, int32_t y)
{
    const TRect r = pbxBackBoard.BoundsRect();
    if (!Play || x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom)
        return {};
    const std::string file = StatisticsFile();
    const TWardenGame& game = Play->Game;
    const int32_t cols = game.Board.Cols(), rows = game.Board.Rows();
    const TSizeStatistics statistics
        = file.empty() ? TSizeStatistics {} : ReadSizeStatistics(file, cols, rows);
    const bool inGame = game.Playing() || (game.Won() && game.NeedNewPuzzle());
    std::string text = StatisticsText(statistics, cols, rows,
        inGame ? std::optional<int32_t>(Play->History.Moves()) : std::nullopt);
    if (inGame && Coach.Par)
        text += " · " + ParText(*Coach.Par);
    return text;
}
