#include "view/SkinTextures.h"

#include "skin/Bitmap.h"
#include "skin/Skin.h"

QList<QImage> GP_SkinTextures()
{
    QList<QImage> textures;
    const WINSKIN::Skin* skin = WINSKIN::Skin::Current();
    const WINSKIN::Rectangle* collection = skin ? skin->FindByName(QStringLiteral("Textures")) : nullptr;
    if (!collection)
        return textures;
    for (int i = 0; i < collection->GetChildCount(); ++i) {
        WINSKIN::Bitmap* picture = collection->GetChild(i) ? collection->GetChild(i)->AsBitmap() : nullptr;
        textures.append(picture ? picture->Picture() : QImage());
    }
    return textures;
}
