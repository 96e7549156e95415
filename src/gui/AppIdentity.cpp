#include "AppIdentity.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <algorithm>

namespace sentravex {

void setApplicationIdentity() {
    // "com.sentravex.Sentravex": the domain read backwards, then the application's name.
    QStringList domain = QStringLiteral(SENTRAVEX_BUNDLE_IDENTIFIER).split(QLatin1Char('.'));
    const QString name = domain.takeLast();
    std::reverse(domain.begin(), domain.end());
    QCoreApplication::setOrganizationName(name);
    QCoreApplication::setOrganizationDomain(domain.join(QLatin1Char('.')));
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(SENTRAVEX_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/Sentravex.png")));
}

} // namespace sentravex
