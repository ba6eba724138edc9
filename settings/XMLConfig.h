#pragma once
// The installation's configuration file and the lookups in it.
#include <QDomDocument>
#include <QString>

// Read-only access to "Config.xml" beside the program, created as an empty
// setup document when missing. Lives for one lookup.
class TXMLConfig
{
public:
    TXMLConfig();
    // The same for a configuration file elsewhere.
    explicit TXMLConfig(const QString &fileName);
    virtual ~TXMLConfig();

    // The text of root\[siteNNNNN\]section-parts\key (names lower-cased; the
    // empty section is "general"), or defaultValue when an element is missing.
    QString ReadValue(const QString &section, const QString &key, const QString &defaultValue, int siteNumber);

private:
    void Save();
    void Load();

    QString fFileName;
    QDomDocument fXMLDoc;
    bool fModified = false;
    bool fLoaded = false;
};

// A "Config.xml" lookup with values stored as "B64" + Base64 of UTF-8 decoded.
QString ReadXMLSetting(const QString &section, const QString &key, const QString &defaultValue, int siteNumber);
