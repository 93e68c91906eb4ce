// How the commands print paths: one per line with control bytes escaped, or
// NUL-ended as they are; a name's bytes that are not UTF-8 as those bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

namespace pylomir::cli {

// A path as the bytes the output carries. Every printed path goes through
// here.
QByteArray pathBytes(const QString& path);
// Control bytes escaped as 'ls -b' does, so that one path is one line.
QByteArray textField(const QByteArray& bytes);
// Each path on a line of its own, escaped, or (nullEnded) unescaped and
// ended by a NUL byte.
QByteArray pathLines(const QStringList& paths, bool nullEnded);

// JSON: a string of a text or path, control characters escaped and a
// name's bytes that are not UTF-8 as \udc80..\udcff; a member; an array of
// such strings; an array or object of written values, one a line, indented
// by indent.
QByteArray jsonString(const QString& text);
QByteArray jsonMember(const char* name, const QByteArray& value);
QByteArray jsonStrings(const QStringList& texts, const QByteArray& indent = {});
QByteArray jsonArray(const QByteArrayList& items, const QByteArray& indent = {});
QByteArray jsonObject(const QByteArrayList& members, const QByteArray& indent = {});

void writeOut(const QByteArray& bytes);
void writeErr(const QByteArray& bytes);

} // namespace pylomir::cli
