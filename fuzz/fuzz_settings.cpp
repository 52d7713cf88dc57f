// Fuzzes the loading of a settings file into the dialog's model (the two
// adapters of the sample host and the identification values). A refused
// file must leave the model untouched; a loaded one, once saved, must load
// back onto itself without changing a single value, or a Save after a Load
// would not keep what was loaded.
#include "netconfigimpl.h"
#include "scratch.h"

#include <QApplication>
#include <QTemporaryDir>

#include <winsys/host.h>

#include <cstdint>
#include <cstdlib>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QApplication* app = nullptr;
    CNetConfigImpl* dialog = nullptr;
    CNetworkCardList adapters;   // as read from the host
    QString reset;               // sets the identification values
};

QString SetEnv(const char* name, const QString& value)
{
    qputenv(name, value.toLocal8Bit());
    return value;
}

// The dialog is built once: a widget per run would make a few runs a second.
Fixture& Setup()
{
    static Fixture* fixture = [] {
        auto* f = new Fixture;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString host = SetEnv("WINSYS_ROOT", f->dir.filePath(QStringLiteral("host")));
        SetEnv("XDG_CONFIG_HOME", f->dir.filePath(QStringLiteral("config")));
        SetEnv("XDG_DATA_HOME", f->dir.filePath(QStringLiteral("data")));
        if (!f->dir.isValid() || !winsys::InitSampleHost(host.toStdString()))
            std::abort();
        static int argc = 1;
        static char name[] = "fuzz_settings";
        static char* argv[] = {name, nullptr};
        f->app = new QApplication(argc, argv);
        f->dialog = new CNetConfigImpl;
        if (f->dialog->ReadConfiguration() != 0 || f->dialog->Adapters().isEmpty())
            std::abort();
        f->adapters = f->dialog->Adapters();
        f->reset = f->dir.filePath(QStringLiteral("reset.ini"));
        const QByteArray identity = "[HostInformation]\nComputerName=WS01\nWorkgroup=WORKGROUP\nPrimaryDNS=lan\n";
        if (!WriteScratch(f->reset, reinterpret_cast<const uint8_t*>(identity.constData()), size_t(identity.size())))
            std::abort();
        return f;
    }();
    return *fixture;
}

QString Addresses(const CIPAddressList& list, bool withZeros)
{
    QStringList texts;
    for (const CIPAddress& address : list) {
        if (withZeros || address.Value() != 0)
            texts << address.ToString();
    }
    return texts.join(QLatin1Char(','));
}

// Every value of the model, change flags included when exact; otherwise
// only what a settings file can carry: an automatic setting has no
// addresses and a list no empty (0.0.0.0) entries.
QStringList Model(CNetConfigImpl& dialog, bool exact)
{
    QStringList lines{dialog.ComputerName(), dialog.Workgroup(), dialog.DNSSuffix()};
    const QString automatic = QStringLiteral("auto");
    for (const CNetworkCard& c : dialog.Adapters()) {
        QStringList v;
        v << (c.m_DHCPEnabled && !exact ? automatic : c.m_IPAddress.ToString()) << c.m_SubnetMask.ToString()
          << Addresses(c.m_Gateways, exact)
          << (c.m_DNSAuto && !exact ? automatic : Addresses(c.m_DNSServers, exact))
          << (c.m_WINSAuto && !exact ? automatic : c.m_PrimaryWINS.ToString() + ',' + c.m_SecondaryWINS.ToString());
        if (exact) {
            v << QString::number(c.m_DHCPEnabled) << QString::number(c.m_DNSAuto) << QString::number(c.m_WINSAuto)
              << QString::number(c.m_AddressChanged) << QString::number(c.m_DNSChanged)
              << QString::number(c.m_WINSChanged);
        }
        lines << v.join(QLatin1Char(' '));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fixture& f = Setup();
    CNetConfigImpl& dialog = *f.dialog;
    dialog.Adapters() = f.adapters;
    if (dialog.ReadSettings(f.reset) != 0)
        std::abort();
    const QStringList before = Model(dialog, true);

    const QString input = ScratchPath(QStringLiteral("settings.ini"));
    if (!WriteScratch(input, data, size))
        return 0;
    if (dialog.ReadSettings(input) != 0) {
        if (Model(dialog, true) != before)
            std::abort();   // a refused file changed the model
        return 0;
    }
    const QStringList loaded = Model(dialog, false);
    const QString saved = ScratchPath(QStringLiteral("saved.ini"));
    if (!WriteScratch(saved, nullptr, 0) || dialog.WriteSettings(saved) != 0)
        std::abort();
    if (dialog.ReadSettings(saved) != 0 || Model(dialog, false) != loaded)
        std::abort();
    return 0;
}
