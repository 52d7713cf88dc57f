#pragma once

// Helpers shared by the apply, identification and release/renew tests:
// typing into the dialog as a user would and reading the host back.

#include "netconfigimpl.h"
#include "iplist.h"
#include "testenv.h"

#include "msgbox.h"

#include <QtTest>

#include <memory>
#include <vector>

namespace applytest {

// The sample host's adapters, in report order.
inline const QString kWiredGuid = QStringLiteral("{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}");
inline const QString kWirelessGuid = QStringLiteral("{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}");
constexpr quint32 kWiredIndex = 11;
constexpr quint32 kWirelessIndex = 14;

using iptest::Ips;
using iptest::Texts;

// Focuses the field, selects what it holds and types over it.
inline bool Type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    if (!QTest::qWaitFor([field]() { return field->hasFocus(); }))
        return false;
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
    return true;
}

// Clicks near the left edge: a stretched check box or radio button only
// reacts on its indicator and label, not on the empty space to the right.
inline void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(8, button->width() / 2), button->height() / 2));
}

// A dialog freshly read from the host, as the next start of the program sees it.
inline std::unique_ptr<CNetConfigImpl> ReadHost()
{
    auto dialog = std::make_unique<CNetConfigImpl>();
    if (dialog->ReadConfiguration() != 0)
        return nullptr;
    return dialog;
}

// Every DNS server of an interface (the dialog itself reads only the first).
inline QStringList DnsServers(quint32 ifIndex)
{
    ULONG size = 0;
    GetPerAdapterInfo(ifIndex, nullptr, &size);
    if (size == 0)
        return {QStringLiteral("<no per-adapter info>")};
    std::vector<unsigned char> buffer(size);
    auto* info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.data());
    if (GetPerAdapterInfo(ifIndex, info, &size) != ERROR_SUCCESS)
        return {QStringLiteral("<query failed>")};
    QStringList servers;
    for (const IP_ADDR_STRING* entry = &info->DnsServerList; entry; entry = entry->Next) {
        const QString text = QString::fromLatin1(entry->IpAddress.String);
        if (!text.isEmpty())
            servers << text;
    }
    return servers;
}

inline QString NameServer(CNetConfigImpl& dialog, const QString& guid)
{
    return dialog.ReadRegistryString(
        QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\") + guid,
        QStringLiteral("NameServer"));
}

// The system's text for an error number, as the error box shows it.
inline QString SystemText(DWORD code)
{
    LPSTR buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0,
                   nullptr);
    const QString text = buffer ? QString::fromLocal8Bit(buffer) : QString();
    if (buffer)
        LocalFree(buffer);
    return text;
}

// A dialog on a fresh sample host, shown and active, adapter `row` selected.
struct Fixture {
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<CNetConfigImpl> dialog;

    bool Open(int row = 0)
    {
        env = std::make_unique<TestEnv>();
        if (!env->initSampleHost())
            return false;
        dialog = std::make_unique<CNetConfigImpl>();
        if (dialog->ReadConfiguration() != 0)
            return false;
        dialog->SelectAdapter(row);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            return false;
        QuarvelMsgBoxHistory().clear();
        return true;
    }

    void Close()
    {
        dialog.reset();
        env.reset();
    }

    // Switches the shown adapter the way the adapter list does.
    void Show(int row)
    {
        dialog->cbAdapters->setFocus();
        dialog->SelectAdapter(row);
    }

    CNetworkCard& Card(int row) { return dialog->Adapters()[row]; }
};

} // namespace applytest
