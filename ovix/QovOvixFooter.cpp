#include "QovOvixFooter.h"

#include "OvixFooterStats.h"
#include "OvixLabel.h"
#include "OvixStyle.h"
#include "OvixText.h"
#include "playlist_manager.h"
#include "QovOvixSymbolButton.h"
#include "standard_commands.h"
#include "std_api.h"
#include "SystemFont.h"

#include <QBoxLayout>
#include <QLineEdit>

QovOvixFooter::QovOvixFooter(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kRefreshMs);
    connect(&_timer, &QTimer::timeout, this, &QovOvixFooter::refresh);
}

QovOvixFooter::~QovOvixFooter() { _timer.stop(); }

void QovOvixFooter::loadView() {
    auto* bar = new QWidget;
    bar->setFixedHeight(30);
    auto* add =
        symbolButton(QStringLiteral("plus"), 13, QStringLiteral("Add files"), this, &QovOvixFooter::onAdd);
    auto* remove = symbolButton(QStringLiteral("minus"), 13, QStringLiteral("Remove selected"), this,
                                &QovOvixFooter::onRemove);

    _search = new QLineEdit;
    _search->setPlaceholderText(QStringLiteral("Quick search"));
    _search->setAccessibleName(QStringLiteral("Quick search"));
    _search->setClearButtonEnabled(true);
    _search->setFont(ovixFont(platform::SystemFont::kSmallSize));
    _search->setFixedWidth(200);
    connect(_search, &QLineEdit::textChanged, this, &QovOvixFooter::onSearch);

    _stats = new OvixLabel(ovixFont(11), platform::SystemColor::SecondaryLabel);
    _stats->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _stats->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(10, 3, 10, 3);
    layout->setSpacing(10);
    layout->addWidget(add);
    layout->addWidget(remove);
    layout->addSpacing(16 - layout->spacing());
    layout->addWidget(_search);
    layout->addWidget(_stats, 1);
    setView(bar);

    _tfSearch = compileTF("%artist% %title% %album%");
    refresh();
}

void QovOvixFooter::viewDidLoad() { _timer.start(); }

void QovOvixFooter::refresh() {
    if (!_stats) return;
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t playlist = pm->get_active_playlist();
    if (playlist == SIZE_MAX) {
        _stats->setText(QString());
        return;
    }
    metadb_handle_list items;
    pm->playlist_get_all_items(playlist, items);
    _stats->setText(formatTotals(totalsOf(items)));
}

void QovOvixFooter::onAdd() { standard_commands::run_main(standard_commands::guid_main_add_files); }

void QovOvixFooter::onRemove() {
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t playlist = pm->get_active_playlist();
    if (playlist != SIZE_MAX) pm->playlist_remove_selection(playlist);
}

void QovOvixFooter::onSearch() {
    const QString query = _search ? _search->text() : QString();
    if (query.isEmpty()) return;
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t playlist = pm->get_active_playlist();
    if (playlist == SIZE_MAX) return;
    metadb_handle_list items;
    pm->playlist_get_all_items(playlist, items);
    const size_t match = firstMatch(items, _tfSearch, query);
    if (match == SIZE_MAX) return;
    pm->playlist_set_selection(playlist, bit_array_true(), bit_array_one(match));
    pm->playlist_set_focus_item(playlist, match);
    pm->playlist_ensure_visible(playlist, match);
}
