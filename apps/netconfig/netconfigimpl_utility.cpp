// Placeholder until the utilities work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

void CNetConfigImpl::ReadConsoleCodepage() {}
QStringList CNetConfigImpl::BuildUtilityArguments() { return {}; }
void CNetConfigImpl::OnChangeUtility(int) {}
void CNetConfigImpl::OnChangeUtilityTarget(const QString&) {}
void CNetConfigImpl::OnStartUtility() {}
void CNetConfigImpl::OnUtilityProcessExited() {}
void CNetConfigImpl::OnReadyStderr() {}
void CNetConfigImpl::OnReadyStdout() {}
void CNetConfigImpl::OnClearUtilityOutput() {}
void CNetConfigImpl::OnOutputTextChanged() {}
void CNetConfigImpl::AppendUtilityOutput(const QString&) {}
void CNetConfigImpl::ReadUtilityChannel(bool) {}
