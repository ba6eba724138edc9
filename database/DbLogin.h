#pragma once
// The user and password that the program's attachments and services manager sessions
// log in with, and the one rule that decides them for a site.
#include <QString>

#include <optional>

struct TDbLogin
{
    // Where a login came from: a message points the operator there, and never shows the
    // login itself.
    enum class Source { Settings, Environment, BuiltIn };

    QString user;
    QString password;
    Source source = Source::BuiltIn;

    // "sysdba" / "quillsong", as the back office sets up its server.
    static TDbLogin builtIn() { return {QStringLiteral("sysdba"), QStringLiteral("quillsong"), Source::BuiltIn}; }

    // The login for a site whose settings hold settingsUser and settingsPassword (empty
    // when not set). The first source that sets a user or a password gives it: the
    // settings, then the Firebird client's environment variables ISC_USER and
    // ISC_PASSWORD, then the built-in login. A source that sets only a password logs in
    // as the built-in user. One that sets only a user logs in without a password: the
    // engine in this process checks only the name, while a server refuses such a login.
    static TDbLogin forSite(const QString &settingsUser, const QString &settingsPassword)
    {
        if (const auto login = fromSource(settingsUser, settingsPassword, Source::Settings))
            return *login;
        if (const auto login =
                fromSource(qEnvironmentVariable("ISC_USER"), qEnvironmentVariable("ISC_PASSWORD"), Source::Environment))
            return *login;
        return builtIn();
    }

private:
    // The login one source gives, or none when it sets neither part. A user name of
    // blanks only is no name.
    static std::optional<TDbLogin> fromSource(const QString &user, const QString &password, Source source)
    {
        const QString name = user.trimmed();
        if (name.isEmpty() && password.isEmpty())
            return std::nullopt;
        return TDbLogin{name.isEmpty() ? builtIn().user : name, password, source};
    }
};
