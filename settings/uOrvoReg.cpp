#include "uOrvoReg.h"

TOrvoReg::TOrvoReg() : fRKEY(RegRoot::CurrentUser) {}
bool TOrvoReg::KeyExists(const QString &) { return false; }
QString TOrvoReg::ReadString(const QString &, const QString &, const QString &d, int) { return d; }
void TOrvoReg::WriteString(const QString &, const QString &, const QString &, int) {}
int TOrvoReg::ReadInteger(const QString &, const QString &, int d) { return d; }
void TOrvoReg::WriteInteger(const QString &, const QString &, int) {}
double TOrvoReg::readFloat(const QString &, const QString &) { return 0; }
void TOrvoReg::writeFloat(const QString &, const QString &, double) {}
void TOrvoReg::ReadFont(const QString &, const QString &, QFont &, qint32 &) {}
void TOrvoReg::writeFont(const QString &, const QString &, const QFont &, qint32) {}
void TOrvoReg::deleteKey(const QString &, const QString &) {}
void TOrvoReg::deleteSection(const QString &) {}
QString TOrvoReg::GetlastUsedDB() { return {}; }
void TOrvoReg::SetlastUsedDB(const QString &) {}
QString TOrvoReg::GetlastUser() { return {}; }
void TOrvoReg::SetlastUser(const QString &) {}
int TOrvoReg::getDBDetails(QStringList &l, const QString &, const QString &d) { l.clear(); return d.isEmpty() ? 0 : -1; }
QString TOrvoReg::getLastUsedDBPath(bool) { return {}; }
QString TOrvoReg::GetCommandSequence(const QString &) { return {}; }
void TOrvoReg::SetCommandSequence(const QString &, const QString &) {}
void TOrvoReg::GetValueNames(const QString &, QStringList &) {}
void TOrvoReg::GetKeyNames(const QString &, QStringList &) {}
TRegDataType TOrvoReg::GetDataType(const QString &, const QString &, bool &) { return rdUnknown; }
TOrvoRegL::TOrvoRegL() : fRKEY(RegRoot::CurrentUser) {}
QString TOrvoRegL::ReadString(const QString &, const QString &, const QString &d, int) { return d; }
void TOrvoRegL::WriteString(const QString &, const QString &, const QString &, int) {}
QString ReadUserSetting(const QString &, const QString &, const QString &d) { return d; }
int ReadSettingInt(const QString &, const QString &, int d) { return d; }
TXMLConfig::TXMLConfig() {}
TXMLConfig::TXMLConfig(const QString &f) : fFileName(f) {}
TXMLConfig::~TXMLConfig() {}
QString TXMLConfig::ReadValue(const QString &, const QString &, const QString &d, int) { return d; }
void TXMLConfig::Save() {}
void TXMLConfig::Load() {}
QString ReadXMLSetting(const QString &, const QString &, const QString &d, int) { return d; }
QString ReadSetting(const QString &, const QString &, const QString &d) { return d; }
void SettingsModuleStart() {}
void SettingsModuleStop() {}
