// Placeholder until the apply work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

bool CNetConfigImpl::ApplyIdentification() { return false; }
void CNetConfigImpl::ReleaseRenew(ReleaseRenewAction) {}
void CNetConfigImpl::btnRenew_clicked() {}
void CNetConfigImpl::btnRelease_clicked() {}
