// Placeholder until the controller work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

CNetConfigImpl::CNetConfigImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl) : CNetConfig(parent, name, modal, fl) {}
CNetConfigImpl::~CNetConfigImpl() = default;
void CNetConfigImpl::SelectAdapter(int) {}
void CNetConfigImpl::UpdateControlStates() {}
void CNetConfigImpl::RefreshConfiguration() {}
void CNetConfigImpl::HideUtilitiesPage() {}
int CNetConfigImpl::CurrentAdapterIndex() { return 0; }
void CNetConfigImpl::HaveWINS(int) {}
void CNetConfigImpl::DNSAuto(int) {}
void CNetConfigImpl::DHCPSettingsChange(int) {}
void CNetConfigImpl::SelectMainTab(int) {}
void CNetConfigImpl::SelectNetTab(int) {}
void CNetConfigImpl::CancelClick() {}
bool CNetConfigImpl::eventFilter(QObject* o, QEvent* e) { return CNetConfig::eventFilter(o, e); }
CNetworkCard* CNetConfigImpl::CurrentCard() { return nullptr; }
