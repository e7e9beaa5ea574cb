#pragma once

#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"

#include <memory>

// The "Are you sure?" box with up to three button labels (empty: no such button), created and
// ready to look at.
inline std::unique_ptr<CMessageBoxDialog> Box(const char* first, const char* second, const char* third,
                                              unsigned flags = MB_OK)
{
    auto box = std::make_unique<CMessageBoxDialog>(GP_LoadString(IDS_ARE_YOU_SURE), QStringLiteral("Velmora"),
                                                   QLatin1String(first), QLatin1String(second),
                                                   QLatin1String(third), flags, nullptr);
    box->Create();
    return box;
}
