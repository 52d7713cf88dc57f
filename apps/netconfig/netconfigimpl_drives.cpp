// Placeholder until the drives work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

unsigned long CNetConfigImpl::RefreshConnections() { return 0; }
void CNetConfigImpl::MapNetDrive() {}
void CNetConfigImpl::DisconnectDrive() {}
