#include "game/FormWarden.h"

#include "game/BoardLayout.h"
#include "game/WardenCoach.h"

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

// The buttons, the title and the boards first, in a fixed order; the arrows, which exist only
// while a game is played, last.
std::vector<TAccessibleItem> TFormWarden::AccessibleItems()
{
    std::vector<TAccessibleItem> items;
    const std::pair<TKelButton*, const char*> buttons[]
        = {{&cmdStart, "Start"}, {&cmdExit, "Exit"}, {&cmdColM, "Fewer columns"},
            {&cmdColP, "More columns"}, {&cmdRowM, "Fewer rows"}, {&cmdRowP, "More rows"}};
    for (const auto& [control, name] : buttons) {
        TKelButton* button = control;
        items.push_back({TAccessibleRole::PushButton, name, {}, button->AccessibleState(),
            button->BoundsRect(), [button] { button->DoAccessibleAction(); }});
    }
    items.push_back({TAccessibleRole::Link, "About Pathwarden", {},
        {true, static_cast<bool>(FHooks.ShowAbout)}, Title.Rect, FHooks.ShowAbout});
    if (!Play)
        return items;
    const TWardenGame& game = Play->Game;
    const TPuzzleBoard& board = game.Board;
    items.push_back({TAccessibleRole::Picture, "Play board", PlayBoardDescription(board),
        {true, true}, pbxBoard.BoundsRect(), {}});
    const char* preview = game.Playing() ? "Target picture"
        : game.Won()                     ? "Well done"
                                         : "Press Start";
    items.push_back({TAccessibleRole::Picture, "Preview board", preview, {true, true},
        pbxBackBoard.BoundsRect(), {}});
    if (!game.Playing())
        return items;
    const TBoardLayout layout = TBoardLayout::Of(board);
    const bool accepting = game.ScrambleCount() <= 0;
    for (const bool isColumn : {true, false})
        for (int32_t index = 1; index <= 2 * (isColumn ? board.Cols() : board.Rows()); ++index) {
            const bool active = game.ArrowIndex() == index && game.ArrowIsColumn() == isColumn;
            const TRect r = layout.ArrowRect(isColumn, index);
            items.push_back({TAccessibleRole::PushButton, ArrowName(board, {isColumn, index}), {},
                {true, accepting && (game.ArrowIndex() == 0 || active), active},
                {r.Left + pbxBoard.Left(), r.Top + pbxBoard.Top(), r.Right + pbxBoard.Left(),
                    r.Bottom + pbxBoard.Top()},
                [this, isColumn, index] {
                    if (!Play)
                        return;
                    Play->PressArrow(isColumn, index);
                    Play->KeyUp();
                }});
        }
    return items;
}

void TFormWarden::Announce(TPlayEvent event)
{
    if (!Play)
        return;
    const TPuzzleBoard& board = Play->Game.Board;
    const std::string size
        = std::to_string(board.Cols()) + " columns by " + std::to_string(board.Rows()) + " rows";
    switch (event) {
    case TPlayEvent::Started:
        AnnounceOnForm(*this, "New game, " + size + ": scrambling");
        break;
    case TPlayEvent::Scrambled:
        AnnounceOnForm(*this, "Scrambled: your move");
        break;
    case TPlayEvent::Moved:
        break;
    case TPlayEvent::Won: {
        const int32_t moves = Play->History.Moves();
        AnnounceOnForm(*this,
            "Well done! Solved in " + std::to_string(moves) + (moves == 1 ? " move" : " moves"));
        break;
    }
    }
}
