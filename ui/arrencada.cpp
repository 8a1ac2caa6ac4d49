// Starting Qt without a session bus of its own, a runtime directory left behind, or an abort.
#include "ui/arrencada.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QtGlobal>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/textos.h"
#include "ui/qttext.h"

namespace corvani {
namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

// Qt's options take their value as the next argument, after one dash or two.
QString option(int argc, char* argv[], const char* name) {
  QString value;
  for (int i = 1; i + 1 < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] == '-' && arg[1] == '-') ++arg;
    if (arg[0] == '-' && std::string(arg + 1) == name) value = QString::fromLocal8Bit(argv[++i]);
  }
  return value;
}

// A runtime directory as Qt and the freedesktop.org rules accept one: the user's own, mode 0700.
bool ownPrivateDirectory(const QByteArray& path) {
  struct stat st {};
  return !path.isEmpty() && stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
         (st.st_mode & 07777) == 0700;
}

bool exists(const QByteArray& path) {
  struct stat st {};
  return lstat(path.constData(), &st) == 0;
}

// Where Qt makes a runtime directory of its own when it is given none: in the temporary folder.
QByteArray qtsOwnRuntimeDirectory() {
  const passwd* user = getpwuid(geteuid());
  if (!user) return {};
  return QFile::encodeName(QDir::tempPath()) + "/runtime-" + user->pw_name;
}

// Whether Qt has a plugin for the platform, from the plugins' metadata, read without loading them.
bool installed(const QString& platform, const QStringList& folders) {
  for (const QString& folder : folders)
    for (const QString& file : QDir(folder).entryList(QDir::Files)) {
      const QJsonArray keys =
          QPluginLoader(folder + u'/' + file).metaData().value(u"MetaData").toObject().value(u"Keys").toArray();
      for (const auto& key : keys)
        if (key.toString().compare(platform, Qt::CaseInsensitive) == 0) return true;
    }
  return false;
}

// What Arrencada keeps between its constructor, Qt's messages and llesta().
struct Held {
  QtMsgType type;
  std::string category;
  QString text;
};
struct State {
  QtMessageHandler previous = nullptr;
  std::vector<Held> held;
  QStringList platforms;
  QStringList pluginFolders;  // besides Qt's own
  QString display;
  QByteArray runtimeToRemove;
} state;

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    state.held.push_back({type, context.category ? context.category : "", text});
    return;
  }
  // No platform could be opened: all Qt said about it is for its developers.
  QStringList folders = state.pluginFolders;
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
  for (const QString& path : env("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts))
    folders << path + QStringLiteral("/platforms");
  const QString line = queFalta(
      state.platforms, [&](const QString& p) { return installed(p, folders); }, env, state.display);
  std::fprintf(stderr, "corvani: %s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

QStringList plataformesDemanades(int argc, char* argv[]) {
  QString names = option(argc, argv, "platform");
  if (names.isEmpty()) names = env("QT_QPA_PLATFORM");
  QStringList platforms;
  for (const QString& entry : names.split(u';', Qt::SkipEmptyParts))
    if (const QString name = entry.section(u':', 0, 0).toLower(); !name.isEmpty()) platforms << name;
  // Qt's own choice on a free desktop: Wayland where the session is one, then X.
  if (platforms.isEmpty()) {
    if (env("XDG_SESSION_TYPE") == u"wayland") platforms << QStringLiteral("wayland");
    platforms << QStringLiteral("xcb");
  }
  return platforms;
}

QString queFalta(const QStringList& platforms, const std::function<bool(const QString&)>& installed,
                 const std::function<QString(const char*)>& env, const QString& display) {
  for (const QString& platform : platforms) {
    if (!installed(platform)) continue;
    const bool x = platform == u"xcb";
    if (!x && !platform.startsWith(u"wayland")) return qs(textos::plataformaFallida).arg(platform);
    const char* variable = x ? "DISPLAY" : "WAYLAND_DISPLAY";
    const QString where = x && !display.isEmpty() ? display : env(variable);
    if (where.isEmpty()) return qs(textos::senseDisplay).arg(QLatin1String(variable));
    return qs(textos::pantallaInabastable).arg(where);
  }
  return qs(textos::plataformaAbsent).arg(platforms.value(0));
}

Arrencada::Arrencada(int argc, char* argv[]) {
  if (!ownPrivateDirectory(qgetenv("XDG_RUNTIME_DIR"))) {
    const QByteArray users = "/run/user/" + QByteArray::number(geteuid());
    if (ownPrivateDirectory(users)) {
      qputenv("XDG_RUNTIME_DIR", users);
    } else {
      // Qt 6.4 makes one in the temporary folder, only to look for a file there; it is removed again.
      const QByteArray own = qtsOwnRuntimeDirectory();
      if (!own.isEmpty() && !exists(own)) state.runtimeToRemove = own;
    }
  }
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
    // The user's bus where it runs, as libdbus would find it; otherwise an address of no bus.
    const QByteArray bus = qgetenv("XDG_RUNTIME_DIR") + "/bus";
    struct stat st {};
    const bool running = ownPrivateDirectory(qgetenv("XDG_RUNTIME_DIR")) && stat(bus.constData(), &st) == 0 &&
                         S_ISSOCK(st.st_mode);
    qputenv("DBUS_SESSION_BUS_ADDRESS", running ? "unix:path=" + bus : QByteArray("disabled:"));
  }
  estilTriat_ = !option(argc, argv, "style").isEmpty() || !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE");
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]).starts_with("-style=") || std::string(argv[i]).starts_with("--style=")) estilTriat_ = true;
  state.platforms = plataformesDemanades(argc, argv);
  state.display = option(argc, argv, "display");
  if (const QString path = option(argc, argv, "platformpluginpath"); !path.isEmpty()) state.pluginFolders << path;
  if (const QString path = env("QT_QPA_PLATFORM_PLUGIN_PATH"); !path.isEmpty()) state.pluginFolders << path;
  state.previous = qInstallMessageHandler(hold);
}

void Arrencada::llesta() {
  qInstallMessageHandler(state.previous);
  for (const Held& m : state.held) qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.c_str()), m.text);
  state.held.clear();
  if (!state.runtimeToRemove.isEmpty()) rmdir(state.runtimeToRemove.constData());
}

}  // namespace corvani
