#include "qt_test_support.hpp"

#include "storage/schema.hpp"

#include <filesystem>

namespace corvane::testing {

QString Text(const QWidget& parent, const QString& sName) {
    if (const auto* pLabel = parent.findChild<QLabel*>(sName)) {
        return pLabel->text();
    }
    return Child<QLineEdit>(parent, sName)->text();
}

void SetText(const QWidget& parent, const QString& sName, const QString& sText) {
    Child<QLineEdit>(parent, sName)->setText(sText);
}

void Click(const QWidget& parent, const QString& sName) {
    Child<QAbstractButton>(parent, sName)->click();
}

bool HasFocus(const QWidget& parent, const QString& sName) {
    const QWidget* pControl = Child<QWidget>(parent, sName);
    const QWidget* pFocus = parent.focusWidget();
    return pFocus == pControl || (pFocus != nullptr && pFocus->parentWidget() == pControl);
}

bool ShowActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

void WhenModal(std::function<void(QDialog&)> fn, const QString& sName, const QObject* pContext,
               int nTriesLeft) {
    const QObject* pOwner = pContext != nullptr ? pContext : QCoreApplication::instance();
    QTimer::singleShot(10, pOwner, [fn = std::move(fn), sName, pContext, nTriesLeft]() mutable {
        auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (pDialog != nullptr && (sName.isEmpty() || pDialog->objectName() == sName)) {
            fn(*pDialog);
        } else if (nTriesLeft > 0) {
            WhenModal(std::move(fn), sName, pContext, nTriesLeft - 1);
        }
    });
}

ProgramFolder::ProgramFolder() : sApp(dir.Sub("app")), env(msg, files, clock, sApp) {
    // Making a database derives its key, which is slow: copy one made once.
    static const TempDir templateDir;
    static const std::filesystem::path templateFile = [] {
        const auto path = templateDir.Path() / "corvane.mdb";
        CreateFreshDatabase(path.string());
        return path;
    }();
    std::filesystem::copy_file(templateFile, DatabaseFileName(sApp));
    g.sDBPath = sApp;
}

void ProgramFolder::RemoveDatabase() const {
    std::filesystem::remove(DatabaseFileName(sApp));
}

} // namespace corvane::testing
