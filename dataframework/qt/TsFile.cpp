#include "dataframework/qt/TsFile.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <map>

namespace dataframework::qt {

namespace {

QString Q(const std::string& Text) {
  return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}
std::string S(const QString& Text) {
  return Text.toUtf8().toStdString();
}
std::string S(QStringView Text) {
  return Text.toUtf8().toStdString();
}

class TTsReader {
 public:
  TTsReader(const std::string& Text, const std::string& SourceName)
      : FBytes(QByteArray::fromStdString(Text)), FXml(FBytes), FSource(SourceName) {}
  TExchangeCatalog Read();

 private:
  [[noreturn]] void Fail(const std::string& What, qint64 Line = -1) const {
    throw ETranslationExchangeError(
        FSource + ":" + std::to_string(Line >= 0 ? Line : FXml.lineNumber()) + ": " + What);
  }
  // Moves to the next start element of the current element (false at its end).
  bool NextChild();
  std::string Text();  // the element's text; child elements are refused
  void Context();
  void Message(const std::string& Context);

  QByteArray FBytes;
  QXmlStreamReader FXml;
  std::string FSource;
  TExchangeCatalog FCatalog;
};

bool TTsReader::NextChild() {
  while (!FXml.atEnd()) {
    switch (FXml.readNext()) {
      case QXmlStreamReader::StartElement:
        return true;
      case QXmlStreamReader::EndElement:
        return false;
      case QXmlStreamReader::Characters:
        if (!FXml.isWhitespace()) Fail("text outside an element that holds text");
        break;
      default:
        break;
    }
  }
  if (FXml.hasError()) Fail(S(FXml.errorString()));
  Fail("the file ends inside an element");
}

std::string TTsReader::Text() {
  std::string text;
  while (!FXml.atEnd()) {
    switch (FXml.readNext()) {
      case QXmlStreamReader::Characters:
        text += S(FXml.text());
        break;
      case QXmlStreamReader::StartElement: {
        // A control character, as Linguist writes it: <byte value="xd"/> or "13".
        if (FXml.name() != u"byte") Fail("unknown element <" + S(FXml.name()) + "> in a text");
        const QString value = FXml.attributes().value(QStringLiteral("value")).toString();
        bool ok = false;
        const uint code = value.startsWith(u'x') ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok);
        if (!ok || code == 0 || code > 0x7F)
          Fail("a byte value must be 1 to 127, not '" + S(value) + "'");
        text += static_cast<char>(code);
        FXml.skipCurrentElement();
        break;
      }
      case QXmlStreamReader::EndElement:
        return text;
      default:
        break;
    }
  }
  if (FXml.hasError()) Fail(S(FXml.errorString()));
  Fail("the file ends inside a text");
}

// What Linguist and lconvert keep for themselves.
bool Skipped(QStringView Name) {
  return Name.startsWith(u"extra-") || Name == u"location" || Name == u"extracomment" ||
         Name == u"translatorcomment" || Name == u"oldsource" || Name == u"oldcomment" ||
         Name == u"userdata" || Name == u"dependencies";
}

void TTsReader::Message(const std::string& Context) {
  const qint64 line = FXml.lineNumber();
  if (FXml.attributes().value(QStringLiteral("numerus")) == u"yes")
    Fail("plural forms are not used by these translations");
  TExchangeMessage message;
  message.Context = Context;
  message.Line = static_cast<int>(line);
  bool source = false, comment = false, translation = false, gone = false;
  while (NextChild()) {
    const QStringView name = FXml.name();
    if (name == u"source") {
      if (source) Fail("a message with two sources");
      source = true;
      message.Source = Text();
    } else if (name == u"comment") {
      if (comment) Fail("a message with two comments");
      comment = true;
      message.Comment = Text();
    } else if (name == u"translation") {
      if (translation) Fail("a message with two translations");
      translation = true;
      const QStringView type = FXml.attributes().value(QStringLiteral("type"));
      if (type == u"vanished" || type == u"obsolete") {
        gone = true;
      } else if (type == u"unfinished") {
        message.Unfinished = true;
      } else if (!type.isEmpty()) {
        Fail("unknown translation type '" + S(type) + "'");
      }
      message.Translation = Text();
    } else if (Skipped(name)) {
      FXml.skipCurrentElement();
    } else {
      Fail("unknown element <" + S(name) + "> in a message");
    }
  }
  if (!source) Fail("a message without a source", line);
  if (!gone) FCatalog.Messages.push_back(std::move(message));
}

void TTsReader::Context() {
  const qint64 line = FXml.lineNumber();
  std::string name;
  bool named = false;
  while (NextChild()) {
    const QStringView element = FXml.name();
    if (element == u"name") {
      if (named) Fail("a context with two names");
      named = true;
      name = Text();
    } else if (element == u"message") {
      if (!named) Fail("a message before its context's name");
      Message(name);
    } else if (element == u"comment" || Skipped(element)) {
      FXml.skipCurrentElement();
    } else {
      Fail("unknown element <" + S(element) + "> in a context");
    }
  }
  if (!named) Fail("a context without a name", line);
}

TExchangeCatalog TTsReader::Read() {
  int bad = 0;
  if (!IsValidUtf8(FBytes.toStdString(), bad)) Fail("the text is not UTF-8", bad);
  while (!FXml.atEnd()) {
    const QXmlStreamReader::TokenType token = FXml.readNext();
    if (token == QXmlStreamReader::StartDocument) {
      const QStringView encoding = FXml.documentEncoding();
      if (!encoding.isEmpty() && encoding.compare(u"utf-8", Qt::CaseInsensitive) != 0)
        Fail("the file must be UTF-8, not " + S(encoding));
    } else if (token == QXmlStreamReader::StartElement) {
      break;
    }
  }
  if (FXml.hasError()) Fail(S(FXml.errorString()));
  if (FXml.tokenType() != QXmlStreamReader::StartElement || FXml.name() != u"TS")
    Fail("a Qt Linguist file (<TS>) expected");
  FCatalog.Language = S(FXml.attributes().value(QStringLiteral("language")));
  FCatalog.SourceLanguage = S(FXml.attributes().value(QStringLiteral("sourcelanguage")));
  while (NextChild()) {
    const QStringView element = FXml.name();
    if (element == u"context") {
      Context();
    } else if (Skipped(element)) {
      FXml.skipCurrentElement();
    } else {
      Fail("unknown element <" + S(element) + "> in <TS>");
    }
  }
  // Nothing but blanks and comments may follow.
  while (!FXml.atEnd()) {
    const QXmlStreamReader::TokenType token = FXml.readNext();
    if (token == QXmlStreamReader::StartElement) Fail("a second root element");
  }
  if (FXml.hasError() && FXml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
    Fail(S(FXml.errorString()));
  return std::move(FCatalog);
}

// XML reads a raw carriage return as a line feed and has no form at all for
// most other controls: they go as Linguist writes them, <byte value="xd"/>.
void WriteText(QXmlStreamWriter& Xml, const std::string& Text) {
  std::string run;
  for (const char c : Text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && u != '\n' && u != '\t') {
      Xml.writeCharacters(Q(run));
      run.clear();
      Xml.writeEmptyElement(QStringLiteral("byte"));
      Xml.writeAttribute(QStringLiteral("value"), QStringLiteral("x%1").arg(u, 0, 16));
    } else {
      run += c;
    }
  }
  Xml.writeCharacters(Q(run));
}

}  // namespace

std::string WriteTs(const TExchangeCatalog& Catalog) {
  // Messages by context, the contexts in the order first met.
  std::vector<std::string> contexts;
  std::map<std::string, std::vector<const TExchangeMessage*>> byContext;
  for (const TExchangeMessage& message : Catalog.Messages) {
    auto& list = byContext[message.Context];
    if (list.empty()) contexts.push_back(message.Context);
    list.push_back(&message);
  }
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(4);
  xml.writeStartDocument();
  xml.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
  xml.writeStartElement(QStringLiteral("TS"));
  xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
  xml.writeAttribute(QStringLiteral("language"), Q(Catalog.Language));
  xml.writeAttribute(QStringLiteral("sourcelanguage"), Q(Catalog.SourceLanguage));
  for (const std::string& context : contexts) {
    xml.writeStartElement(QStringLiteral("context"));
    xml.writeTextElement(QStringLiteral("name"), Q(context));
    for (const TExchangeMessage* message : byContext[context]) {
      xml.writeStartElement(QStringLiteral("message"));
      xml.writeStartElement(QStringLiteral("source"));
      WriteText(xml, message->Source);
      xml.writeEndElement();
      xml.writeTextElement(QStringLiteral("comment"), Q(message->Comment));
      xml.writeStartElement(QStringLiteral("translation"));
      if (message->Unfinished)
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("unfinished"));
      WriteText(xml, message->Translation);
      xml.writeEndElement();
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes.toStdString();
}

TExchangeCatalog ReadTs(const std::string& Text, const std::string& SourceName) {
  return TTsReader(Text, SourceName).Read();
}

}  // namespace dataframework::qt
