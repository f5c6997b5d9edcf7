#pragma once
#include <QFormLayout>
#include <QLineEdit>
#include <string>

namespace vorlu {

// The "User Name" and "Password" boxes the login dialogs share. The password
// box shows one "*" per typed character; in that mode it offers no copying
// and no tooltip, so a password never leaves it except into the node table
// or the settings.
struct LoginBoxes {
    QLineEdit* user = nullptr;     // Text1
    QLineEdit* password = nullptr; // Text2

    LoginBoxes(QWidget* parent, QFormLayout* form)
        : user(new QLineEdit(parent)), password(new QLineEdit(parent))
    {
        user->setObjectName(QStringLiteral("Text1"));
        password->setObjectName(QStringLiteral("Text2"));
        password->setEchoMode(QLineEdit::Password);
        password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
        form->addRow(QStringLiteral("User Name"), user);
        form->addRow(QStringLiteral("Password"), password);
    }

    void fill(const std::string& name, const std::string& secret) const
    {
        user->setText(QString::fromStdString(name));
        password->setText(QString::fromStdString(secret));
    }
    std::string userText() const { return user->text().toStdString(); }
    std::string passwordText() const { return password->text().toStdString(); }
};

} // namespace vorlu
