#include "view/model/BoardLook.h"

#include "view/model/GP_SettingsStore.h"

GP_BoardLook GP_BoardLook::Current(const CGP_SettingsStore& settings)
{
    GP_BoardLook look;
    look.boardColor = settings.CurrentColor(GP_Table::Board);
    look.trayColor = settings.CurrentColor(GP_Table::Trays);
    look.boardPattern = settings.CurrentTexture(GP_Table::Board);
    look.trayPattern = settings.CurrentTexture(GP_Table::Trays);
    look.soundFX = settings.Settings().SoundFXEnable;
    return look;
}

GP_BoardLook GP_BoardLook::Defaults(int skinIndex)
{
    GP_BoardLook look;
    look.boardColor = CGP_SettingsStore::DefaultColor(skinIndex, GP_Table::Board);
    look.trayColor = CGP_SettingsStore::DefaultColor(skinIndex, GP_Table::Trays);
    look.boardPattern = CGP_SettingsStore::DefaultTexture(skinIndex, GP_Table::Board);
    look.trayPattern = CGP_SettingsStore::DefaultTexture(skinIndex, GP_Table::Trays);
    look.soundFX = true;
    return look;
}

void GP_BoardLook::Store(CGP_SettingsStore& settings) const
{
    settings.SetCurrentLook(GP_Table::Board, boardColor, boardPattern);
    settings.SetCurrentLook(GP_Table::Trays, trayColor, trayPattern);
    settings.Settings().SoundFXEnable = soundFX;
}

quint32 GP_BoardLook::ColorRef(const QColor& color)
{
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}
