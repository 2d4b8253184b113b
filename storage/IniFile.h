#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace plavex::storage {

// A small INI file kept whole in memory: read once, written once, sections
// and keys in the order they were first set. The file is Windows-1251; a text
// that code page cannot hold (a path with other letters) makes the whole file
// UTF-8 with a byte-order mark, so nothing is lost.
class IniFile {
public:
    bool load(const QString &path); // false when the file is missing or unreadable
    bool save(const QString &path) const;

    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;
    int intValue(const QString &section, const QString &key, int fallback) const; // garbage gives the fallback
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void setInt(const QString &section, const QString &key, int value);

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    const Section *find(const QString &section) const;
    std::vector<Section> sections_;
};

} // namespace plavex::storage
