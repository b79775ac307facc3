#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

/// A temporary level directory holding the pictures that the test levels name
/// (sky.png, bush.png, tree.png, door-open.png, door-closed.png).
class LevelDirectory
{
public:
  LevelDirectory();

  /// Writes \a content to the file \a name; returns its full path.
  QString Write(const QString& name, const QByteArray& content) const;
  QString Path(const QString& name) const { return m_directory.filePath(name); }

private:
  QTemporaryDir m_directory;
};

/// A level file with the required elements and \a body inside "level".
QByteArray MinimalLevel(const QByteArray& body = QByteArray());

/// A level file that uses every element of the format (data/rich-level.xml).
QByteArray RichLevel();
