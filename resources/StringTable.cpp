#include "resources/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry
{
    int id;
    const char16_t* text;
};

// Kept sorted by number.
constexpr StringEntry kStrings[] = {
    {185, u"Modifications to this puzzle are not allowed."},
    {186, u"You screen resolution is insufficient for modifying this puzzle."},
    {187, u"Puzzle name is too long. Please enter a shorter name."},
    {188, u"Puzzle author name is too long. Please enter a shorter name."},
    {189, u"Puzzle name can't be empty. Please enter puzzle name."},
    {190, u"A puzzle with this name already exists. Please enter another name."},
    {191, u"Your hard disk is full. Operation can't be performed."},
    {192, u"Multiple puzzles selected. Please select a single puzzle to perform operation."},
    {194, u"Error loading image file. Please choose another file."},
    {195, u"Puzzle can't be created using the image of this size. Please select another image file."},
    {198, u"No puzzles selected. Please select a puzzle."},
    {199, u"Are you sure?"},
    {203, u"Loading puzzle %s..."},
    {204, u"Puzzle is already solved. Do you want to scatter it and start over?"},
    {205, u"Scrambling puzzle %s..."},
    {206, u"Saving puzzle %s..."},
    {207, u"NEW!"},
    {209, u"%s\n%d x %d\nPieces: %d"},
    {210, u"%s\nAuthor: %s\nPicture: %d x %d, Pieces: %d\n Solved: %d%% Time:"},
    {211, u"%s\nPicture: %d x %d, Pieces: %d\n Solved: %d%% Time:"},
    {212, u"%s\nAuthor: %s\nPicture: %d x %d, Pieces: %d\n Time:"},
    {214, u"OK"},
    {215, u"Cancel"},
    {216, u"Yes"},
    {217, u"No"},
    {219, u"Hints Used:"},
    {220, u"Application must be re-launched."},
    {228, u"Continue"},
    {229, u"Unable to create file."},
    {239, u"Game is paused. Click \u201COK\u201D to resume playing."},
    {243, u"Error connecting to the server. Please check your Internet connection."},
    {249, u"Game update found. Do you want to update?"},
    {250, u"Please enter a different name for a puzzle."},
    {251, u"Puzzle name can't contain / \\ or control characters. Please enter another name."},
    {556, u"Downloading puzzle %s..."},
    {557, u"Downloading game update..."},
    {558, u"The game needs to update to play this puzzle. Would you like the game to update?"},
    {559, u"Update"},
    {601, u"The puzzle file %s can't be opened. It may be damaged or not a puzzle file."},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; }),
              "the string table must stay sorted by number");

const StringEntry* Find(int id)
{
    const auto* end = std::end(kStrings);
    const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                      [](const StringEntry& entry, int value) { return entry.id < value; });
    return it != end && it->id == id ? it : nullptr;
}

} // namespace

QString GP_LoadString(int id)
{
    const StringEntry* entry = Find(id);
    return entry ? QString::fromUtf16(entry->text) : QString();
}

bool GP_HasString(int id)
{
    return Find(id) != nullptr;
}
