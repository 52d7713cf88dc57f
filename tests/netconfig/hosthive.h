#pragma once

// The sample host's registry, edited per case and written into a TestEnv.

#include "testenv.h"

#include <winsys/hive.h>
#include <winsys/host.h>

#include <QString>

#include <string>
#include <vector>

class HostHive
{
public:
    HostHive()
    {
        std::string error;
        int line = 0;
        winsys::ParseHive(winsys::SampleHiveText(), m_Hive, &error, &line);
    }

    winsys::Hive& Hive() { return m_Hive; }

    // Class keys of the adapters, in report order.
    std::vector<std::string> AdapterKeys() const
    {
        std::vector<std::string> keys;
        for (const winsys::AdapterRef& adapter : winsys::ListAdapters(m_Hive))
            keys.push_back(adapter.classKey);
        return keys;
    }

    std::string Guid(int adapter) const { return winsys::ListAdapters(m_Hive).at(adapter).guid; }
    std::string TcpipKey(int adapter) const { return winsys::keys::kTcpipInterfaces + ("\\" + Guid(adapter)); }
    std::string NetBTKey(int adapter) const { return winsys::keys::kNetBTInterfaces + ("\\Tcpip_" + Guid(adapter)); }

    void RemoveAdapters()
    {
        for (const std::string& key : AdapterKeys())
            m_Hive.DeleteKey(key);
    }

    bool WriteTo(TestEnv& env) const { return env.writeHive(QString::fromStdString(winsys::FormatHive(m_Hive))); }

private:
    winsys::Hive m_Hive;
};
