#include "play/KeptGame.h"

#include <charconv>
#include <vector>

namespace {

constexpr std::string_view VersionLine = "Pathwarden kept game 1";
constexpr std::string_view HexDigits = "0123456789abcdef";

void AppendTiles(
    std::string& text, std::string_view name, const TRoadBoard& board, const TPuzzleBoard& size)
{
    text += name;
    for (int32_t r = 1; r <= size.Rows(); ++r)
        for (int32_t c = 1; c <= size.Cols(); ++c) {
            const uint8_t arms = board.Cell(c, r).Arms;
            text += ' ';
            text += HexDigits[arms >> 4];
            text += HexDigits[arms & 0x0F];
        }
    text += '\n';
}

void AppendArrows(std::string& text, std::string_view name, const std::vector<TArrow>& arrows)
{
    text += std::string(name) + ' ' + std::to_string(arrows.size());
    for (const TArrow arrow : arrows)
        text += std::string(arrow.IsColumn ? " c" : " r") + std::to_string(arrow.Index);
    text += '\n';
}

// Reads the text a line at a time, each a name and words split by single spaces.
class TLineReader {
public:
    explicit TLineReader(std::string_view text)
        : FText(text)
    {
    }

    // The words of the next line after its name; nothing when the line is missing, unended or
    // has another name.
    std::optional<std::vector<std::string_view>> Line(std::string_view name)
    {
        const std::size_t end = FText.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string_view line = FText.substr(0, end);
        FText.remove_prefix(end + 1);
        if (line.substr(0, name.size()) != name)
            return std::nullopt;
        line.remove_prefix(name.size());
        std::vector<std::string_view> words;
        while (!line.empty()) {
            if (line.front() != ' ')
                return std::nullopt;
            line.remove_prefix(1);
            const std::size_t space = line.find(' ');
            const std::string_view word = line.substr(0, space);
            if (word.empty())
                return std::nullopt;
            words.push_back(word);
            line.remove_prefix(word.size());
        }
        return words;
    }

    bool AtEnd() const { return FText.empty(); }

private:
    std::string_view FText;
};

// A decimal number without sign or leading zeros, at most max.
std::optional<int64_t> Number(std::string_view word, int64_t max)
{
    int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || word.front() == '-'
        || (word.size() > 1 && word.front() == '0') || value > max)
        return std::nullopt;
    return value;
}

bool ReadTiles(const std::optional<std::vector<std::string_view>>& words, TRoadBoard& board,
    int32_t cols, int32_t rows)
{
    if (!words || words->size() != static_cast<std::size_t>(cols * rows))
        return false;
    std::size_t i = 0;
    for (int32_t r = 1; r <= rows; ++r)
        for (int32_t c = 1; c <= cols; ++c) {
            const std::string_view word = (*words)[i++];
            const std::size_t high = HexDigits.find(word.front());
            const std::size_t low = word.size() == 2 ? HexDigits.find(word[1]) : 16;
            if (word.size() != 2 || high >= 16 || low >= 16)
                return false;
            board.Cell(c, r).Arms = static_cast<uint8_t>(high * 16 + low);
        }
    return true;
}

bool ReadArrows(
    const std::optional<std::vector<std::string_view>>& words, std::vector<TArrow>& arrows)
{
    if (!words || words->empty())
        return false;
    const auto count = Number(words->front(), MaxKeptMoves);
    if (!count || static_cast<std::size_t>(*count) != words->size() - 1)
        return false;
    for (std::size_t i = 1; i < words->size(); ++i) {
        const std::string_view word = (*words)[i];
        const auto index = word.size() > 1 ? Number(word.substr(1), 2 * MaxLines) : std::nullopt;
        if ((word.front() != 'c' && word.front() != 'r') || !index || *index < 1)
            return false;
        arrows.push_back({word.front() == 'c', static_cast<int32_t>(*index)});
    }
    return true;
}

} // namespace

std::string KeptGameText(const TKeptGame& game)
{
    const TPuzzleBoard& board = game.Board;
    std::string text(VersionLine);
    text += "\nsize " + std::to_string(board.Cols()) + ' ' + std::to_string(board.Rows()) + '\n';
    AppendTiles(text, "target", board.Target, board);
    AppendTiles(text, "scrambled", game.Moves.Scrambled.Current, board);
    AppendTiles(text, "current", board.Current, board);
    AppendArrows(text, "made", game.Moves.Made);
    AppendArrows(text, "undone", game.Moves.Undone);
    text += "helped " + std::string(game.Helped ? "1" : "0") + '\n';
    text += "played " + std::to_string(game.PlayedMs) + '\n';
    return text;
}

std::optional<TKeptGame> ReadKeptGameText(std::string_view text)
{
    TLineReader reader(text);
    const auto version = reader.Line(VersionLine);
    const auto size = reader.Line("size");
    if (!version || !version->empty() || !size || size->size() != 2)
        return std::nullopt;
    const auto cols = Number((*size)[0], MaxLines);
    const auto rows = Number((*size)[1], MaxLines);
    if (!cols || !rows || *cols < MinLines || *rows < MinLines)
        return std::nullopt;
    TKeptGame game;
    TPuzzleBoard& board = game.Board;
    board.SetCols(static_cast<int32_t>(*cols));
    board.SetRows(static_cast<int32_t>(*rows));
    TPuzzleBoard& scrambled = game.Moves.Scrambled;
    scrambled = board;
    if (!ReadTiles(reader.Line("target"), board.Target, board.Cols(), board.Rows())
        || !ReadTiles(reader.Line("scrambled"), scrambled.Current, board.Cols(), board.Rows())
        || !ReadTiles(reader.Line("current"), board.Current, board.Cols(), board.Rows())
        || !ReadArrows(reader.Line("made"), game.Moves.Made)
        || !ReadArrows(reader.Line("undone"), game.Moves.Undone))
        return std::nullopt;
    scrambled.Target = board.Target;
    const auto helped = reader.Line("helped");
    const auto played = reader.Line("played");
    if (!helped || helped->size() != 1 || !played || played->size() != 1 || !reader.AtEnd())
        return std::nullopt;
    const auto help = Number(helped->front(), 1);
    const auto ms = Number(played->front(), MaxKeptPlayedMs);
    if (!help || !ms)
        return std::nullopt;
    game.Helped = *help == 1;
    game.PlayedMs = *ms;
    return game;
}
