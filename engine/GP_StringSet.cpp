#include "engine/GP_StringSet.h"

namespace {
bool IsSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

CGP_StringSet::CGP_StringSet(const QString& text)
{
    int start = -1;
    for (int i = 0; i <= text.size(); ++i) {
        const bool separator = i == text.size() || IsSeparator(text.at(i));
        if (!separator && start < 0)
            start = i;
        if (separator && start >= 0) {
            Add(text.mid(start, i - start));
            start = -1;
        }
    }
}

void CGP_StringSet::Add(const QString& word)
{
    if (word.isNull() || Contains(word))
        return;
    m_words.Add(word);
}

bool CGP_StringSet::Contains(const QString& word) const
{
    for (const QString& entry : m_words) {
        if (entry == word)
            return true;
    }
    return false;
}

void CGP_StringSet::Remove(const QString& word)
{
    for (int i = m_words.GetCount() - 1; i >= 0; --i) {
        if (m_words[i] == word)
            m_words.RemoveAt(i);
    }
}
