#pragma once
/// \file

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <bitset>
#include <vector>

/// The 8-bit character codes allowed in identifiers.
using TkvIdentifierCharset = std::bitset<256>;

/// The character-level scanner of the script engine. It reads no token list
/// in advance: the grammar walker asks it, at the current position, for one
/// kind of token at a time, and moves the position back itself when a branch
/// fails. Every lexical rule of a language is a setting the grammar makes.
/// Positions are 1-based indices into the text.
class TkvParser
{
public:
    /// A scanner with the line table on and the settings of Clear.
    TkvParser();

    /// Restores the settings a grammar starts from (CaseSensitive and
    /// CommentLine2 stay as they are).
    void Clear();
    /// Makes the identifier characters exactly those of Chars (codes modulo 256).
    void ConstructCharset(const QString &chars);

    /// The source text.
    QStringView Text() const { return QStringView(FText).left(FSize); }
    /// Sets the source, moves to its start and, with UseY, builds the line table.
    void SetText(const QString &text);
    /// Length of the source.
    int Size() const { return FSize; }
    /// Index of the next unread character.
    int Position() const { return FPosition; }
    /// Moves to Value; the current token starts there.
    void SetPosition(int value) { FPosition = FLastPosition = value; }
    /// Where the token being read starts (after blanks and comments).
    int LastPosition() const { return FLastPosition; }

    // Lexical settings; the grammar sets them before the text is given
    // (SkipSpaces remembers its last skip until the next SetText or Clear).
    bool CaseSensitive = false;          ///< keywords and grammar tokens compare exactly
    QString CommentLine1;                ///< first line-comment marker
    QString CommentLine2;                ///< second line-comment marker
    QString HexSequence;                 ///< prefix of hexadecimal numbers
    TkvIdentifierCharset IdentifierCharset; ///< characters of identifiers
    QString SkipChar;                    ///< line-continuation character (the first one counts)
    bool SkipEOL = true;                 ///< line ends are blanks (else tokens)
    bool SkipSpace = true;               ///< token readers skip blanks and comments first
    QString StringQuotes;                ///< string delimiter (the first one counts)
    bool SpecStrChar = false;            ///< backslash escapes in strings
    bool UseY = true;                    ///< keep the line table

    /// The first block-comment pair as "open,close".
    QString CommentBlock1() const { return FBlock1.Text; }
    /// Sets CommentBlock1.
    void SetCommentBlock1(const QString &value) { FBlock1 = BlockPair(value); }
    /// The second block-comment pair as "open,close".
    QString CommentBlock2() const { return FBlock2.Text; }
    /// Sets CommentBlock2.
    void SetCommentBlock2(const QString &value) { FBlock2 = BlockPair(value); }
    /// The reserved words, sorted.
    const QStringList &Keywords() const { return FKeywords; }
    /// Adds a reserved word.
    void AddKeyword(const QString &word);

    /// Skips blanks, continuation characters and comments.
    void SkipSpaces();
    /// Consumes a line end (all CR and LF in a row) after blanks; False when none.
    bool GetEOL();
    /// An identifier that is not a keyword; empty when none (after a keyword
    /// the position stands past it).
    QStringView GetIdent();
    /// An identifier-shaped word, keyword or not; empty when none.
    QStringView GetWord();
    /// Whether Word is a reserved word.
    bool IsKeyWord(QStringView word) const;
    /// One punctuation character; never skips blanks itself.
    QStringView GetChar();
    /// A number in canonical form ('$' for hexadecimal); empty when none.
    QString GetNumber();
    /// A string literal in single quotes, pieces joined; empty when none.
    QString GetString();
    /// The text of an embedded expression up to its matching closing
    /// bracket, on which the position is left.
    QString GetQZString();

    /// The current position as "line:column".
    QString GetXYPosition() const { return XYPosition(FPosition); }
    /// Position as "line:column".
    QString XYPosition(int position) const;
    /// Line and column of Position.
    QPoint LineColumn(int position) const;
    /// The position of line Y, column X; -1 when Y is outside the text.
    int GetPlainPosition(QPoint point) const;

private:
    struct Pair
    {
        QString Text, Open, Close;
    };
    static Pair BlockPair(const QString &value);
    char16_t At(int position) const { return FData[position - 1]; }
    bool IsBlank(int position) const;
    bool IsIdentStart(char16_t c) const;
    bool IsIdentChar(char16_t c) const;
    bool Follows(const QString &marker) const;
    bool ConsumeLineEnd();
    bool ReadUnsigned();
    bool ReadReal();
    bool ReadQuoted(QString &out);
    bool ReadCharCode(QString &out);

    QString FText;                  // the source with a NUL sentinel
    const char16_t *FData = nullptr;
    int FSize = 0;
    int FPosition = 1;
    int FLastPosition = 1;
    Pair FBlock1, FBlock2;
    QStringList FKeywords;
    std::vector<int> FLines;        // 0, then the position of every LF
    int FSkipFrom = 0;              // the last SkipSpaces went from here
    int FSkipTo = 0;                // to here
};

/// Whether C is a punctuation character, the kind GetChar reads.
bool kvIsPunctuation(char16_t c);

/// Line (Y) and column (X) of a "line:column" text; (0, 0) when empty.
QPoint kvPositionToPoint(const QString &position);
