#include "view/model/PrintfText.h"

QString GP_PrintfText(const QString& format, std::initializer_list<QVariant> values)
{
    QString text;
    text.reserve(format.size() + 32);
    auto next = values.begin();
    for (qsizetype at = 0; at < format.size(); ++at) {
        const QChar c = format[at];
        if (c != QLatin1Char('%') || at + 1 >= format.size()) {
            text += c;
            continue;
        }
        const QChar kind = format[at + 1];
        if (kind == QLatin1Char('%')) {
            text += QLatin1Char('%');
            ++at;
        } else if (kind == QLatin1Char('s') || kind == QLatin1Char('d')) {
            if (next != values.end())
                text += next++->toString();
            ++at;
        } else {
            text += c;
        }
    }
    return text;
}
