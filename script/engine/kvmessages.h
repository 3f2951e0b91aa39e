#pragma once
/// \file

#include <QString>

// The script engine's message texts, held under keys so that a host can put
// its own (translated) texts in place at start-up.

/// The text under Key ("SIdUndeclared"); the key itself when unknown.
QString kvMessage(const char *key);
/// Replaces the text under Key.
void kvSetMessage(const QString &key, const QString &text);
