#include "play/WardenStatistics.h"

#include <utility>

TWardenStatistics::TWardenStatistics(const TPlayDoor& play, std::function<TRect()> preview,
    std::function<std::string()> settingsFile, std::function<void(const std::string&)> announce)
    : FPlay(play)
    , FPreview(std::move(preview))
    , FSettingsFile(std::move(settingsFile))
    , FAnnounce(std::move(announce))
{
}

namespace {

TGameResult ResultOf(const TPlayView& view)
{
    return {view.Moves, WholeSeconds(view.PlayedMs), view.Helped};
}

std::string Counted(int32_t count, const char* one)
{
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

} // namespace

std::string WinWords(
    const TGameResult& game, const std::optional<TPar>& par, const TWinRecords& records)
{
    std::string words = "Well done! Solved in " + Counted(game.Moves, "move") + " in ";
    if (game.Seconds >= 60)
        words += Counted(game.Seconds / 60, "minute") + " ";
    words += Counted(game.Seconds % 60, "second");
    if (par)
        words += ", " + ParText(*par);
    words += ".";
    std::string record = RecordText(records);
    if (!record.empty()) {
        record[0] = 'A';
        words += " " + record + ".";
    }
    return words;
}

std::string TWardenStatistics::File() const
{
    return SettingsFileOrNone(FSettingsFile);
}

// Statistics that cannot be written are not worth interrupting the game for.
void TWardenStatistics::PlayEvent(TPlayEvent event, const TPlayView& view)
{
    if (event == TPlayEvent::Started || event == TPlayEvent::Stopped)
        FWin.reset();
    if (event != TPlayEvent::Started && event != TPlayEvent::Won)
        return;
    const std::string file = File();
    const TPuzzleBoard& board = view.Board;
    if (event == TPlayEvent::Started) {
        if (!file.empty())
            RecordGameStarted(file, board.Cols(), board.Rows());
        return;
    }
    const TGameResult game = ResultOf(view);
    FWin = TWinRecords {};
    if (!file.empty()) {
        FWin = RecordsOf(ReadSizeStatistics(file, board.Cols(), board.Rows()), game);
        if (!RecordGameWon(file, board.Cols(), board.Rows(), game))
            FWin = TWinRecords {};
    }
    if (FAnnounce)
        FAnnounce(WinWords(game, view.Par, *FWin));
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
        statistics, cols, rows, inGame ? std::optional(ResultOf(view)) : std::nullopt);
    if (inGame && view.Par)
        text += " · " + ParText(*view.Par);
    if (view.WonPictureShown && FWin && !RecordText(*FWin).empty())
        text += " · " + RecordText(*FWin);
    return text;
}
