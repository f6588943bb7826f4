#include "qt/QtSettingsStore.h"

namespace {

QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section + "/" + entry);
}

}  // namespace

QtSettingsStore::QtSettingsStore(const std::string& organisation, const std::string& application)
    : settings_(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(organisation),
                QString::fromStdString(application)) {}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& entry,
                                       const std::string& fallback) const {
    QVariant value = settings_.value(Key(section, entry));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& entry,
                                  const std::string& value) {
    settings_.setValue(Key(section, entry), QString::fromStdString(value));
    settings_.sync();
}

void QtSettingsStore::RemoveEntry(const std::string& section, const std::string& entry) {
    settings_.remove(Key(section, entry));
    settings_.sync();
}
