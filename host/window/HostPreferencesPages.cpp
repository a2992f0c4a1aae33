#include "HostPreferencesPages.h"

#include "MediaLibrary.h"

#include "config_store.h"
#include "ObjectWrapper.h"
#include "preferences_page.h"
#include "service_factory.h"
#include "std_api.h"
#include "SystemColors.h"
#include "ViewController.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

struct AppearanceChoice {
    const char* key;
    const char* label;
    std::optional<platform::Appearance> appearance;
};

const AppearanceChoice kAppearances[] = {
    {"system", "Follow the system", std::nullopt},
    {"light", "Light", platform::Appearance::Aqua},
    {"dark", "Dark", platform::Appearance::DarkAqua},
};

QString storedAppearance() {
    service_ptr_t<qvn::configStore> store;
    if (!qvn::_standard_api_try_get_internal(store)) return QStringLiteral("system");
    const qvn::stringRef v = store->getConfigString(HostPreferencesPages::kAppearanceKey, "system");
    return QString::fromUtf8(v.is_valid() ? v->c_str() : "system");
}

class DisplayPage : public qvn::ViewController {
protected:
    void loadView() override {
        auto* view = new QWidget;
        auto* form = new QFormLayout(view);
        form->setContentsMargins(20, 20, 20, 20);
        auto* choice = new QComboBox(view);
        choice->setObjectName(QStringLiteral("appearance"));
        const QString stored = storedAppearance();
        for (const AppearanceChoice& a : kAppearances) {
            choice->addItem(QCoreApplication::translate("DisplayPage", a.label), QLatin1String(a.key));
            if (stored == QLatin1String(a.key)) choice->setCurrentIndex(choice->count() - 1);
        }
        form->addRow(QCoreApplication::translate("DisplayPage", "Appearance:"), choice);
        auto* hint = new QLabel(QCoreApplication::translate(
                                    "DisplayPage", "Pages for the look of the layout elements are below."),
                                view);
        hint->setEnabled(false);
        form->addRow(hint);
        QObject::connect(choice, &QComboBox::currentIndexChanged, view, [choice](int) {
            const QString key = choice->currentData().toString();
            service_ptr_t<qvn::configStore> store;
            if (qvn::_standard_api_try_get_internal(store))
                store->setConfigString(HostPreferencesPages::kAppearanceKey, key.toUtf8().constData());
            HostPreferencesPages::applySavedAppearance();
        });
        setView(view);
    }
};

class LibraryPage : public qvn::ViewController {
protected:
    void loadView() override {
        auto* view = new QWidget;
        auto* column = new QVBoxLayout(view);
        column->setContentsMargins(20, 20, 20, 20);
        column->addWidget(
            new QLabel(QCoreApplication::translate("LibraryPage", "Folders in the media library:"), view));
        auto* list = new QListWidget(view);
        list->setObjectName(QStringLiteral("libraryFolders"));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->addItems(library::MediaLibrary::instance().folders());
        column->addWidget(list, 1);

        auto* buttons = new QHBoxLayout;
        auto* add = new QPushButton(QCoreApplication::translate("LibraryPage", "Add..."), view);
        auto* removeButton = new QPushButton(QCoreApplication::translate("LibraryPage", "Remove"), view);
        add->setObjectName(QStringLiteral("addFolder"));
        removeButton->setObjectName(QStringLiteral("removeFolders"));
        removeButton->setEnabled(false);
        buttons->addWidget(add);
        buttons->addWidget(removeButton);
        buttons->addStretch(1);
        column->addLayout(buttons);

        auto save = [list] {
            QStringList folders;
            for (int i = 0; i < list->count(); ++i) folders.append(list->item(i)->text());
            library::MediaLibrary::instance().setFolders(folders);
            list->clear();
            list->addItems(library::MediaLibrary::instance().folders());
        };
        QObject::connect(list, &QListWidget::itemSelectionChanged, removeButton, [list, removeButton] {
            removeButton->setEnabled(!list->selectedItems().isEmpty());
        });
        QObject::connect(add, &QPushButton::clicked, view, [view, list, save] {
            const QString folder = QFileDialog::getExistingDirectory(
                view, QCoreApplication::translate("LibraryPage", "Add a Library Folder"));
            if (folder.isEmpty()) return;
            list->addItem(folder);
            save();
        });
        QObject::connect(removeButton, &QPushButton::clicked, view, [list, save] {
            qDeleteAll(list->selectedItems());
            save();
        });
        setView(view);
    }
};

class preferences_page_display : public preferences_page {
public:
    service_ptr_t<service_base> instantiate() override { return qvn::wrapNSObject(new DisplayPage); }
    const char* get_name() override { return "Display"; }
    GUID get_guid() override { return guid_display; }
    GUID get_parent_guid() override { return guid_root; }
};

class preferences_page_library : public preferences_page {
public:
    service_ptr_t<service_base> instantiate() override { return qvn::wrapNSObject(new LibraryPage); }
    const char* get_name() override { return "Media Library"; }
    GUID get_guid() override { return HostPreferencesPages::kMediaLibrary; }
    GUID get_parent_guid() override { return guid_root; }
};

service_factory_singleton_t<preferences_page_display> g_displayPageFactory;
service_factory_singleton_t<preferences_page_library> g_libraryPageFactory;

}  // namespace

void HostPreferencesPages::applySavedAppearance(bool atStartUp) {
    const QString stored = storedAppearance();
    for (const AppearanceChoice& a : kAppearances) {
        if (stored != QLatin1String(a.key)) continue;
        if (atStartUp && !a.appearance) return;
        if (a.appearance != platform::SystemColors::forcedAppearance())
            platform::SystemColors::forceAppearance(a.appearance);
        return;
    }
}
