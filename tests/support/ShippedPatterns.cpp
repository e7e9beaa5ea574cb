#include "tests/support/ShippedPatterns.h"

#include "tests/support/TestFolder.h"

#include <array>

const CGP_Path& ShippedPattern(int index)
{
    static const std::array<CGP_Path, kPatternCount> patterns = [] {
        std::array<CGP_Path, kPatternCount> loaded;
        for (int i = 0; i < kPatternCount; ++i)
            LoadPattern(&loaded[i], SourceFile(QStringLiteral("resources/game/PATTERNS/") + GP_PatternFileName(i)));
        return loaded;
    }();
    return patterns.at(static_cast<size_t>(index));
}
