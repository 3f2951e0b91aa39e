#pragma once
/// \file

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The "system code page" of 8-bit text (old-format files and other legacy
// data). Linux has no such setting, so the process keeps its own; it defaults
// to windows-1252.

/// Name of the current system code page, such as "windows-1252".
QByteArray zelSystemCodePage();
/// Selects the system code page by name; returns false and keeps the current
/// one when Qt does not know the name.
bool zelSetSystemCodePage(const QByteArray &name);
/// Decodes 8-bit text in the system code page.
QString zelDecodeSystemCodePage(QByteArrayView bytes);
/// Encodes text in the system code page; characters it lacks become the
/// code page's substitute character.
QByteArray zelEncodeSystemCodePage(QStringView text);
