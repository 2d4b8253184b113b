#pragma once

#include <QString>

#include <span>

namespace plavex::items {

// The fixed list of item types offered by the definition form, in its
// order; a code may appear twice (the form takes the first).
struct TypeName {
    int code;
    const char *name; // UTF-8
};
std::span<const TypeName> typeNames();

// The name of a type, or empty for a code not in the list.
QString typeName(int type);
// "139 Лично ДОО, ЗДР осигуряване", as the drop-down shows an entry.
QString typeEntry(const TypeName &type);

inline bool isEarning(int type) { return type >= 1 && type <= 99; }
inline bool isDeduction(int type) { return type >= 101 && type <= 199; }
inline bool isTotal(int type) { return type == 100 || type == 200 || type == 201; }

} // namespace plavex::items
