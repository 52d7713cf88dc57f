// Placeholder until the settings-file work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

int CNetConfigImpl::WriteSettings(const QString&) { return 1; }
int CNetConfigImpl::ReadSettings(const QString&) { return 1; }
void CNetConfigImpl::SaveToFile() {}
void CNetConfigImpl::LoadFromFile() {}
int CNetConfigImpl::RunConsoleCommand(const QString&, bool) { return 1; }
