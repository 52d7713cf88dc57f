// Placeholder until the apply work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

bool CNetConfigImpl::ApplyAdapter(int) { return false; }
bool CNetConfigImpl::RunCommands(const QStringList&, unsigned long*) { return false; }
bool CNetConfigImpl::ApplyAll() { return false; }
void CNetConfigImpl::ApplyClick() {}
void CNetConfigImpl::OKClick() {}
