#pragma once
/// \file

#include <QStringList>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

/// The process-wide table of resource strings: every text the system shows is
/// looked up here by key. The built-in English tables are compiled in; a
/// language file "*.zlc" of the same XML form replaces any of them.
class TzelResources
{
public:
    TzelResources();
    ~TzelResources();
    TzelResources(const TzelResources &) = delete;
    TzelResources &operator=(const TzelResources &) = delete;

    /// The text for Key (case ignored), or Key itself when no table has it;
    /// a leading "!" (do-not-translate mark) is removed.
    QString Get(const QString &key) const;
    /// The text for a numeric key, written as decimal text.
    QString Get(int key) const;
    /// Adds Key, or replaces the text of an existing key.
    void Add(const QString &key, const QString &text);
    /// Adds every line "key=text" whose key and text are both non-empty.
    void AddStrings(const QString &lines);
    /// Loads a resource block given as UTF-8 XML text.
    void AddXML(const QByteArray &utf8);
    /// Loads a resource block from FileName; a missing file changes nothing.
    void LoadFromFile(const QString &fileName);
    /// Loads a resource block from Stream.
    void LoadFromStream(QIODevice *stream);
    /// Empties the table.
    void Clear();

    /// Code page named by the last loaded block (1252 for the built-in ones).
    int CodePage() const;
    /// Language names found as "*.zlc" files beside the executable, sorted.
    const QStringList &Languages() const;
    /// The file of the language Name from Languages(), or an empty string.
    QString LanguageFile(const QString &name) const;
    /// Name of the help file, looked for in the executable's folder.
    QString HelpFile() const;

    /// Pixel density of the toolbar images (default 96).
    int ImagesPPI() const;
    /// Sets the density rounded down to a multiple of 24; on a change the
    /// image lists are dropped so that they are built again.
    void SetImagesPPI(int value);
    /// Incremented whenever the image lists must be rebuilt.
    int ImagesGeneration() const;

    /// Hands the script engine's messages to the hooks registered below.
    void UpdateKVResources();
    /// Registers a hook that UpdateKVResources calls with this table; the hook
    /// also runs once right away. The script engine installs one at start-up
    /// to take its compile messages.
    void AddKVResourcesHook(std::function<void(const TzelResources &)> hook);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

/// The single resource table, created with the built-in tables on first use.
TzelResources &zelResources();
/// The text for Key in the single resource table.
QString zelRes(const char *key);
