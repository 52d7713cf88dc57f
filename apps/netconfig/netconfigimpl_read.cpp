// Placeholder until the controller work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

unsigned long CNetConfigImpl::ReadConfiguration() { return 0; }
QString CNetConfigImpl::ReadRegistryString(const QString&, const QString&) { return QString(); }
