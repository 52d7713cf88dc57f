// Placeholder until the apply work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

void CNetConfigImpl::ledControl_textChanged(const QString&) {}
bool CNetConfigImpl::ValidateInput() { return false; }
