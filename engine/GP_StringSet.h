#pragma once

#include "engine/GP_FastContainer.h"

#include <QString>

// A set of words with exact, case-sensitive membership, kept in the order they were added.
// The skin engine uses it for lists of names given in one text ("Button1 Button2\r\nTitle").
class CGP_StringSet
{
public:
    CGP_StringSet() = default;
    // Splits the text on blanks, carriage returns and line feeds (runs count as one) and adds
    // each word.
    explicit CGP_StringSet(const QString& text);
    virtual ~CGP_StringSet() = default;

    // A null text or a word already present is ignored.
    void Add(const QString& word);
    bool Contains(const QString& word) const;
    // Removes every exact match; later words move down.
    void Remove(const QString& word);

    int GetCount() const { return m_words.GetCount(); }
    const QString& operator[](int index) const { return m_words[index]; }

private:
    CGP_FastContainer<QString> m_words;
};
