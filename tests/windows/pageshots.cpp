// netconfig_pageshots FOLDER [netconfig's arguments]: the program's whole
// start-up and dialog; once the dialog is up, each page in turn is shown and
// saved as FOLDER/page<N>.png, then the dialog is closed. The exit code is
// the program's.
#include "entry.h"
#include "netconfig.h"
#include "tabbarex.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

QString s_Folder;
int s_Tries = 0;

void ShootPages()
{
    CNetConfig* dialog = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<CNetConfig*>(widget); candidate && candidate->isVisible())
            dialog = candidate;
    }
    if (!dialog) {
        if (++s_Tries < 150)
            QTimer::singleShot(200, ShootPages);
        else
            std::fprintf(stderr, "pageshots: the dialog never showed\n");
        return;
    }
    auto* tabs = dialog->findChild<CTabBarEx*>(QStringLiteral("tbPageMain"));
    for (int page = 0; tabs && page < tabs->count(); ++page) {
        tabs->setCurrentTab(page);
        // Let the page lay itself out and paint before it is grabbed.
        QApplication::processEvents();
        const QString file = s_Folder + QStringLiteral("/page%1.png").arg(page + 1);
        if (!dialog->grab().save(file))
            std::fprintf(stderr, "pageshots: cannot write %s\n", qPrintable(file));
        std::printf("%s %s\n", qPrintable(file), qPrintable(tabs->tabText(page)));
    }
    std::fflush(stdout);
    dialog->close();
}

void StartShooting()
{
    // After the start-up has shown the dialog and entered the event loop.
    QTimer::singleShot(1000, ShootPages);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartShooting)

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: netconfig_pageshots FOLDER [arguments]\n");
        return 2;
    }
    s_Folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(s_Folder);
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    int count = argc - 1;
    return NetConfigMain(count, args.data());
}
