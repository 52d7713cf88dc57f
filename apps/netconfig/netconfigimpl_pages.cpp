// The slots of the drives and utilities pages and the address lists, each
// handed to the page that owns the widgets.
#include "netconfigimpl.h"

unsigned long CNetConfigImpl::RefreshConnections()
{
    return DrivesPage()->RefreshConnections();
}

void CNetConfigImpl::MapNetDrive()
{
    DrivesPage()->MapNetDrive();
}

void CNetConfigImpl::DisconnectDrive()
{
    DrivesPage()->DisconnectDrive();
}

void CNetConfigImpl::EditGateways()
{
    if (AdaptersPage()->EditGateways())
        UpdateControlStates();
}

void CNetConfigImpl::EditDNSServers()
{
    if (AdaptersPage()->EditDNSServers())
        UpdateControlStates();
}

void CNetConfigImpl::ReadConsoleCodepage()
{
    UtilitiesPage()->ReadConsoleCodepage();
}

QString CNetConfigImpl::ConsoleCodepage() const
{
    return UtilitiesPage()->ConsoleCodepage();
}

QStringList CNetConfigImpl::BuildUtilityArguments()
{
    return UtilitiesPage()->BuildUtilityArguments();
}

void CNetConfigImpl::OnChangeUtility(int)
{
    // The form's own connection raises the option page.
}

void CNetConfigImpl::OnChangeUtilityTarget(const QString& text)
{
    UtilitiesPage()->OnChangeUtilityTarget(text);
}

void CNetConfigImpl::OnStartUtility()
{
    UtilitiesPage()->OnStartUtility();
}

void CNetConfigImpl::OnUtilityProcessExited()
{
    UtilitiesPage()->OnUtilityProcessExited();
}

void CNetConfigImpl::OnReadyStderr()
{
    UtilitiesPage()->OnReadyStderr();
}

void CNetConfigImpl::OnReadyStdout()
{
    UtilitiesPage()->OnReadyStdout();
}

void CNetConfigImpl::OnClearUtilityOutput()
{
    UtilitiesPage()->OnClearUtilityOutput();
}

void CNetConfigImpl::OnOutputTextChanged()
{
    UtilitiesPage()->OnOutputTextChanged();
}
