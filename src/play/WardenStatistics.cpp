#include "play/WardenStatistics.h"

#include "common/KelException.h"
#include "play/GameStatistics.h"

#include <utility>

TWardenStatistics::TWardenStatistics(const TPlayDoor& play, std::function<TRect()> preview,
    std::function<std::string()> settingsFile)
    : FPlay(play)
    , FPreview(std::move(preview))
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
void TWardenStatistics::PlayEvent(TPlayEvent event, const TPlayView& view)
{
    if (event != TPlayEvent::Started && event != TPlayEvent::Won)
        return;
    const std::string file = File();
    if (file.empty())
        return;
    const TPuzzleBoard& board = view.Board;
    if (event == TPlayEvent::Started)
        RecordGameStarted(file, board.Cols(), board.Rows());
    else
        RecordGameWon(file, board.Cols(), board.Rows(), view.Moves, view.Helped);
}

std::string TWardenStatistics::PreviewTooltip(int32_t x, int32_t y) const
{
    const TRect r = FPreview();
    if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom)
        return {};
    const std::string file = File();
    const TPlayView view = FPlay.View();
    const int32_t cols = view.Board.Cols(), rows = view.Board.Rows();
    const TSizeStatistics statistics
        = file.empty() ? TSizeStatistics {} : ReadSizeStatistics(file, cols, rows);
    const bool inGame = view.Playing || view.WonPictureShown;
    std::string text = StatisticsText(
        statistics, cols, rows, inGame ? std::optional<int32_t>(view.Moves) : std::nullopt);
    if (inGame && view.Par)
        text += " · " + ParText(*view.Par);
    return text;
}
