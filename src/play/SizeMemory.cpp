#include "play/SizeMemory.h"

#include "common/IniFile.h"
#include "play/GameStatistics.h"

#include <utility>

namespace {

constexpr const char* Section = "Options";

int32_t LinesOf(const std::optional<std::string>& value)
{
    if (value && value->size() == 1 && (*value)[0] >= '0' + MinLines
        && (*value)[0] <= '0' + MaxLines)
        return (*value)[0] - '0';
    return MinLines;
}

} // namespace

TBoardSize ReadBoardSize(const std::string& fileName)
{
    const TIniText settings(fileName);
    return {LinesOf(settings.Value(Section, "Cols")), LinesOf(settings.Value(Section, "Rows"))};
}

TSizeMemory::TSizeMemory(std::function<std::string()> settingsFile)
    : FSettingsFile(std::move(settingsFile))
{
}

std::string TSizeMemory::File() const
{
    return SettingsFileOrNone(FSettingsFile);
}

void TSizeMemory::PlayEvent(TPlayEvent event, const TPlayView& view)
{
    if (event != TPlayEvent::Resized)
        return;
    const std::string file = File();
    if (!file.empty())
        WriteIniEntries(Section,
            {{"Cols", std::to_string(view.Board.Cols())},
                {"Rows", std::to_string(view.Board.Rows())}},
            file);
}

void TSizeMemory::Restore(TPlayDoor& play) const
{
    const std::string file = File();
    if (file.empty())
        return;
    const TBoardSize size = ReadBoardSize(file);
    // Tags 1 and 2 take a column and a row away, 3 and 4 add one; a step that does not act
    // ends the walk.
    const auto walk = [&play](int32_t target, auto lines, int32_t less, int32_t more) {
        while (lines(play.View()) != target)
            if (!play.Do(TCommand::Of(
                    TCommandKind::SizeStep, lines(play.View()) < target ? more : less)))
                return;
    };
    walk(
        size.Cols, [](const TPlayView& view) { return view.Board.Cols(); }, 1, 3);
    walk(
        size.Rows, [](const TPlayView& view) { return view.Board.Rows(); }, 2, 4);
}
