#include "game/BoardAccess.h"

#include "play/BoardLayout.h"
#include "play/WardenCoach.h"

#include <utility>

namespace {

std::string ArrowName(const TPuzzleBoard& board, TArrow arrow)
{
    const TArrowWords words = DescribeArrow(board, arrow);
    std::string name
        = std::string(words.Kind) + " " + std::to_string(words.Line) + ", " + words.Direction;
    for (const char32_t key : U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
        if (board.ArrowForKey(key) == arrow)
            return name + ", key " + static_cast<char>(key);
    return name;
}

std::string PlayBoardDescription(const TPuzzleBoard& board)
{
    int32_t inPlace = 0;
    for (int32_t col = 1; col <= board.Cols(); ++col)
        for (int32_t row = 1; row <= board.Rows(); ++row)
            inPlace += board.CellSolved(col, row) ? 1 : 0;
    return "Play board, " + std::to_string(board.Cols()) + " columns by "
        + std::to_string(board.Rows()) + " rows, " + std::to_string(inPlace) + " of "
        + std::to_string(board.Cols() * board.Rows()) + " cells in place";
}

} // namespace

TBoardAccess::TBoardAccess(TPlayDoor& play, const TControl& board, const TControl& preview,
    std::function<void(const std::string&)> announce)
    : FPlay(play)
    , FBoard(board)
    , FPreview(preview)
    , FAnnounce(std::move(announce))
{
}

std::vector<TAccessibleItem> TBoardAccess::Items()
{
    std::vector<TAccessibleItem> items;
    const TPlayView view = FPlay.View();
    const TPuzzleBoard& board = view.Board;
    items.push_back({TAccessibleRole::Picture, "Play board", PlayBoardDescription(board),
        {true, true}, FBoard.BoundsRect(), {}});
    const char* preview = view.Playing ? "Target picture" : view.Won ? "Well done" : "Press Start";
    items.push_back({TAccessibleRole::Picture, "Preview board", preview, {true, true},
        FPreview.BoundsRect(), {}});
    if (!view.Playing)
        return items;
    const TBoardLayout layout = TBoardLayout::Of(board);
    for (const bool isColumn : {true, false})
        for (int32_t index = 1; index <= 2 * (isColumn ? board.Cols() : board.Rows()); ++index) {
            const TArrow arrow {isColumn, index};
            const bool active = view.Arrow == arrow;
            const TRect r = layout.ArrowRect(isColumn, index);
            items.push_back({TAccessibleRole::PushButton, ArrowName(board, arrow), {},
                {true, FPlay.Allowed(TCommand::Press(arrow)), active},
                {r.Left + FBoard.Left(), r.Top + FBoard.Top(), r.Right + FBoard.Left(),
                    r.Bottom + FBoard.Top()},
                [this, arrow] {
                    FPlay.Do(TCommand::Press(arrow));
                    FPlay.Do(TCommand::Of(TCommandKind::ReleaseArrow));
                }});
        }
    return items;
}

void TBoardAccess::PlayEvent(TPlayEvent event, const TPlayView& view)
{
    const TPuzzleBoard& board = view.Board;
    const std::string size
        = std::to_string(board.Cols()) + " columns by " + std::to_string(board.Rows()) + " rows";
    switch (event) {
    case TPlayEvent::Started:
        FAnnounce("New game, " + size + ": scrambling");
        break;
    case TPlayEvent::Scrambled:
        FAnnounce("Scrambled: your move");
        break;
    case TPlayEvent::Resumed:
        FAnnounce("Game resumed, " + size + ": your move");
        break;
    // The statistics tell the win, with its time and records.
    case TPlayEvent::Moved:
    case TPlayEvent::Stopped:
    case TPlayEvent::Resized:
    case TPlayEvent::Won:
        break;
    }
}
