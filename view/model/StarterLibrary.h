#pragma once

#include <QString>

class CGP_Registry;

// The starter library: the ready-cut puzzles shipped in "DATA/starter", copied into the player's
// library on the first start that finds it empty. The settings value "StarterPuzzles" records
// that the question was settled, so that a player who later deletes every puzzle is not given
// them again, and a library that already had puzzles never gets them at all. The settings belong
// to the user while a library belongs to its application folder (an installed game and a build
// of it have one each), so the value lists the folders settled, one a line.
class CStarterLibrary
{
public:
    static constexpr char kSeededValue[] = "StarterPuzzles";

    enum class Outcome {
        AlreadySettled, // seeded before, or found the library in use: nothing done
        LibraryInUse,   // the library holds puzzles: nothing copied, now settled
        Seeded,         // every starter puzzle copied in, now settled
        NothingToCopy,  // no starter puzzles shipped: left unsettled for a later start
        CopyFailed,     // a copy failed (logged): left unsettled, the next start tries again
    };

    // Copies the starter puzzles into "Puzzles/simple" (made when missing) when the library is
    // empty and was never seeded. copied counts the puzzles copied in.
    static Outcome SeedIfNeeded(CGP_Registry& settings, int* copied = nullptr);
    static bool IsSettled(const CGP_Registry& settings);

    // "DATA/starter" below the application folder.
    static QString StarterFolder();
};
