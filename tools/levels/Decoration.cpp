#include "Decoration.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace
{
// Each keyword with the count of numbers it takes; a sign's words, or the file
// name of a picture of its own, follow its numbers.
const QHash<QString, int>& arities()
{
  static const QHash<QString, int> table{
      {"horizon", 1}, {"sea", 2},     {"hills", 3},   {"sun", 3},         {"cloud", 3},  {"bird", 2},
      {"tree", 3},    {"palm", 3},    {"bush", 3},    {"rock", 4},        {"shells", 3}, {"flowers", 3},
      {"fence", 3},   {"sign", 2},    {"front-grass", 3}, {"cave", 3},   {"torch", 2},
      {"cut-tree", 1}, {"raft", 2},   {"title", 3},     {"mill", 3},
  };
  return table;
}
} // namespace

bool LoadDecoration(const QString& path, QList<DecorationItem>& items, QString& error)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
  {
    error = path + ": cannot open";
    return false;
  }
  QTextStream in(&file);
  in.setCodec("UTF-8");
  int lineNumber = 0;
  while (!in.atEnd())
  {
    ++lineNumber;
    QString line = in.readLine();
    const int comment = line.indexOf('#');
    if (comment >= 0)
      line.truncate(comment);
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
      continue;
    const QString where = QString("%1:%2: ").arg(path).arg(lineNumber);
    const auto arity = arities().constFind(words[0]);
    if (arity == arities().constEnd())
    {
      error = where + "unknown item \"" + words[0] + "\"";
      return false;
    }
    const bool hasText = words[0] == "sign" || words[0] == "title" || words[0] == "cut-tree" || words[0] == "raft";
    if (words.size() - 1 < *arity || (!hasText && words.size() - 1 != *arity))
    {
      error = where + QString("\"%1\" takes %2 numbers").arg(words[0]).arg(*arity);
      return false;
    }
    DecorationItem item{words[0], {}, {}, lineNumber};
    for (int i = 1; i <= *arity; ++i)
    {
      bool ok = false;
      item.numbers << words[i].toDouble(&ok); // QString::toDouble never follows the locale
      if (!ok)
      {
        error = where + "\"" + words[i] + "\" is not a number";
        return false;
      }
    }
    item.text = words.mid(*arity + 1).join(' ');
    if (hasText && item.text.isEmpty())
    {
      error = where + (words[0] == "sign" || words[0] == "title" ? QString("\"%1\" needs its words").arg(words[0])
                                                                  : QString("the picture needs its file name"));
      return false;
    }
    items << item;
  }
  return true;
}
