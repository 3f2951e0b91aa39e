#pragma once
/// \file

#include <QString>
#include <QStringList>

#include <vector>

/// An INI file held in memory: sections of "key=value" lines in file order.
/// Section and key names are compared with their case ignored; values are
/// kept as written, with no quoting or escapes. Comments, blank lines and
/// lines that are neither a header nor a key stay where they were, so a file
/// rewritten after a few changes differs from the old one only in those.
class TzelIniFile
{
public:
    /// An empty file without a name.
    TzelIniFile();
    /// The file FileName, read when it exists; raises TzelFileError naming
    /// it when it exists but cannot be read.
    explicit TzelIniFile(const QString &fileName);

    /// The file UpdateFile writes.
    const QString &FileName() const { return FFileName; }
    /// Sets FileName.
    void SetFileName(const QString &fileName) { FFileName = fileName; }

    /// The value of Key in Section; Default when there is none.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    /// Sets Key in Section to Value, adding the key (after the section's last
    /// key) or the section (at the end) when missing.
    void WriteString(const QString &section, const QString &key, const QString &value);
    /// The keys of Section, in file order.
    QStringList ReadSection(const QString &section) const;
    /// The section names, in file order.
    QStringList ReadSections() const;
    /// The "key=value" lines of Section, in file order.
    QStringList ReadSectionValues(const QString &section) const;
    /// Whether Section exists (even without keys).
    bool SectionExists(const QString &section) const;
    /// Whether Key exists in Section.
    bool ValueExists(const QString &section, const QString &key) const;
    /// Removes Key from Section.
    void DeleteKey(const QString &section, const QString &key);
    /// Removes Section with its header, keys and comments.
    void EraseSection(const QString &section);
    /// Removes everything.
    void Clear();

    /// The whole file as text, one line per LF.
    QString Text() const;
    /// Replaces the contents by Text (CR LF, LF or CR line ends). A repeated
    /// section header continues the first section of that name.
    void SetText(const QString &text);
    /// Replaces the contents by the file FileName (UTF-8, a BOM skipped);
    /// raises TzelFileError naming it when it cannot be read.
    void LoadFromFile(const QString &fileName);
    /// Writes the contents to FileName through the safe save path, so a
    /// failing save leaves the old file; raises TzelFileError naming it.
    void UpdateFile() const;

private:
    struct Line
    {
        QString Raw;       // the text as read; empty for a line written here
        QString Key;       // empty for comments, blanks and malformed lines
        QString Value;
        bool IsKey = false;
    };
    struct Section
    {
        QString Name;
        QString Header; // as read; empty for the lines before the first header
        bool HasHeader = false;
        std::vector<Line> Lines;
    };

    const Section *FindSection(const QString &name) const;
    Section *FindSection(const QString &name);
    static const Line *FindKey(const Section &section, const QString &key);

    QString FFileName;
    std::vector<Section> FSections; // the first one holds the lines before any header
};
