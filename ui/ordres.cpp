// Corvani's command line, read with QCommandLineParser; every answer is in Catalan.
#include "ui/ordres.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "model/textos.h"
#include "ui/qttext.h"

namespace corvani {
namespace {

// The options of QGuiApplication and QApplication, with whether each takes a value. They are
// known here only so that they are not refused; QApplication reads and removes them later.
struct QtOption {
  const char* name;
  bool value;
};
constexpr QtOption qtOptions[] = {
    {"platform", true},    {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},  {"geometry", true},      {"qwindowicon", true},
    {"icon", true},        {"qwindowtitle", true},       {"title", true},         {"display", true},
    {"name", true},        {"session", true},            {"style", true},         {"stylesheet", true},
    {"reverse", false},    {"widgetcount", false},       {"testability", false},  {"nograb", false},
    {"dograb", false},     {"visual", true},
};

int error(const QString& text) {
  std::fprintf(stderr, "corvani: %s\n%s\n", text.toLocal8Bit().constData(), qs(textos::vegeuAjuda).toLocal8Bit().constData());
  return 2;
}

}  // namespace

std::optional<int> llegeixOrdres(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

  QCommandLineParser parser;
  // Qt's options are single words after one dash (-platform), so -hv is not two options.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(version);
  for (const QtOption& o : qtOptions) {
    QCommandLineOption option(QString::fromLatin1(o.name));
    if (o.value) option.setValueName(QStringLiteral("valor"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  const bool ok = parser.parse(arguments);
  if (parser.isSet(help)) {
    std::fwrite(textos::ajudaOrdres.data(), 1, textos::ajudaOrdres.size(), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("Corvani %s\n", CORVANI_VERSIO);
    return 0;
  }
  if (!parser.unknownOptionNames().isEmpty())
    return error(qs(textos::opcioDesconeguda).arg(parser.unknownOptionNames().constFirst()));
  if (!ok) return error(qs(textos::faltaValor));
  if (!parser.positionalArguments().isEmpty())
    return error(qs(textos::senseArguments).arg(parser.positionalArguments().constFirst()));
  return std::nullopt;
}

}  // namespace corvani
