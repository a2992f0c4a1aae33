#include "QovClassicPrefs.h"

#include "ClassicSettings.h"
#include "ColorWell.h"
#include "NotificationCenter.h"
#include "SystemColors.h"
#include "SystemFont.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace {

const char* const kThemeNames[] = {"Follow macOS", "Light", "Dark", "Dark Monochrome (Windows-like)"};
const QLatin1String kSystemFont("System");

// Only the arrows of a spin box: its number lives in the field beside it.
class Stepper : public QSpinBox {
public:
    Stepper() {
        lineEdit()->hide();
        setFixedWidth(20);
        setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    }
};

QWidget* row(std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget;
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    for (QWidget* w : widgets) line->addWidget(w);
    line->addStretch(1);
    return box;
}

// A number typed into a field: what it reads as from its start, 0 for no number.
int fieldValue(const QLineEdit* field) {
    const QString text = field->text().trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+')) ++end;
    while (end < text.size() && text[end].isDigit()) ++end;
    bool ok = false;
    const long long value = text.left(end).toLongLong(&ok);
    return ok ? int(std::clamp<long long>(value, INT_MIN, INT_MAX)) : 0;
}

}  // namespace

QLineEdit* QovClassicPrefs::numberField(QSpinBox** stepper, int min, int max) {
    auto* field = new QLineEdit;
    field->setFixedWidth(50);
    connect(field, &QLineEdit::returnPressed, this, &QovClassicPrefs::changed);
    auto* step = new Stepper;
    step->setRange(min, max);
    step->setSingleStep(1);
    // load() sets the steppers with their signals blocked: only a user's step stores.
    connect(step, &QSpinBox::valueChanged, this, [this, step] { stepped(step); });
    *stepper = step;
    return field;
}

QLineEdit* QovClassicPrefs::patternField() {
    auto* field = new QLineEdit;
    field->setMinimumWidth(420);
    connect(field, &QLineEdit::returnPressed, this, &QovClassicPrefs::changed);
    return field;
}

void QovClassicPrefs::loadView() {
    auto* page = new QWidget;
    page->setMinimumSize(600, 300);

    _theme = new QComboBox;
    for (const char* name : kThemeNames) _theme->addItem(QString::fromUtf8(name));
    connect(_theme, &QComboBox::activated, this, &QovClassicPrefs::changed);

    _useAccent = new QCheckBox(QStringLiteral("Custom accent color"));
    connect(_useAccent, &QCheckBox::clicked, this, &QovClassicPrefs::changed);
    _accent = new platform::ColorWell;
    connect(_accent, &platform::ColorWell::colorPicked, this, &QovClassicPrefs::changed);

    _tabClose = new QCheckBox(QStringLiteral("Show close button on tabs"));
    connect(_tabClose, &QCheckBox::clicked, this, &QovClassicPrefs::changed);

    _font = new QComboBox;
    _font->addItem(kSystemFont);
    _font->insertSeparator(1);
    QStringList families = QFontDatabase::families();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(families.begin(), families.end(), collator);
    _font->addItems(families);
    connect(_font, &QComboBox::activated, this, &QovClassicPrefs::changed);

    QSpinBox* sizeStep = nullptr;
    QSpinBox* heightStep = nullptr;
    _size = numberField(&sizeStep, kFontSizeMin, kFontSizeMax);
    _height = numberField(&heightStep, kRowHeightMin, kRowHeightMax);
    _sizeStep = sizeStep;
    _heightStep = heightStep;

    _left = patternField();
    _right = patternField();
    _winTitle = patternField();
    _winTitle->setPlaceholderText(QStringLiteral("Empty: don't change the window title"));

    auto* note = new QLabel(QStringLiteral(
        "Status bar uses title formatting; %volume% shows the volume. Press Return to apply text "
        "fields."));
    note->setWordWrap(true);
    note->setFont(platform::SystemFont::ofSize(platform::SystemFont::kSmallSize));
    _note = note;

    auto* resetButton = new QPushButton(QStringLiteral("Reset to Defaults"));
    connect(resetButton, &QPushButton::clicked, this, &QovClassicPrefs::reset);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(8);
    // Each label names its control (the first of a row) to assistive tools.
    struct Row {
        const char* label;
        QWidget* control;
        QWidget* labelled;
    };
    const Row rows[] = {
        {"Theme:", _theme, _theme},
        {"Accent:", row({_useAccent, _accent}), _useAccent},
        {"Tabs:", _tabClose, _tabClose},
        {"Playlist font:", _font, _font},
        {"Font size:", row({_size, _sizeStep}), _size},
        {"Row height:", row({_height, _heightStep}), _height},
        {"Status bar left:", _left, _left},
        {"Status bar right:", _right, _right},
        {"Window title:", _winTitle, _winTitle},
        {"", note, nullptr},
        {"", resetButton, nullptr},
    };
    int r = 0;
    for (const auto& [label, control, labelled] : rows) {
        if (*label) {
            auto* text = new QLabel(QString::fromUtf8(label));
            text->setBuddy(labelled);
            grid->addWidget(text, r, 0, Qt::AlignRight | Qt::AlignVCenter);
        }
        // The note wraps within the column's width; the others keep their own.
        if (control == note)
            grid->addWidget(control, r++, 1);
        else
            grid->addWidget(control, r++, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    grid->setColumnStretch(2, 1);

    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(20, 20, 20, 20);
    outer->addLayout(grid);
    outer->addStretch(1);
    setView(page);
    load();
}

void QovClassicPrefs::load() {
    if (!_font) return;
    const QString family = QString::fromUtf8(cfg_fontName.get().get_ptr());
    const int found =
        family.isEmpty() ? -1 : _font->findText(family, Qt::MatchExactly | Qt::MatchCaseSensitive);
    _font->setCurrentIndex(found > 1 ? found : 0);

    for (QSpinBox* s : {_sizeStep.data(), _heightStep.data()}) s->blockSignals(true);
    _size->setText(QString::number(cfg_fontSize.get()));
    _sizeStep->setValue(int(std::clamp<int64_t>(cfg_fontSize.get(), kFontSizeMin, kFontSizeMax)));
    _height->setText(QString::number(cfg_rowHeight.get()));
    _heightStep->setValue(int(std::clamp<int64_t>(cfg_rowHeight.get(), kRowHeightMin, kRowHeightMax)));
    for (QSpinBox* s : {_sizeStep.data(), _heightStep.data()}) s->blockSignals(false);

    const std::pair<QLineEdit*, cfg_var_modern::cfg_string*> patterns[] = {
        {_left, &cfg_statusLeft}, {_right, &cfg_statusRight}, {_winTitle, &cfg_windowTitle}};
    for (const auto& [field, setting] : patterns) {
        field->setText(QString::fromUtf8(setting->get().get_ptr()));
        field->setCursorPosition(0);  // a long pattern shows its start
    }
    _theme->setCurrentIndex(int(std::clamp<int64_t>(cfg_theme.get(), kThemeSystem, kThemeMonochrome)));
    _tabClose->setChecked(cfg_tabClose.get() != 0);

    // The theme may have just changed on this page.
    QPalette secondary = _note->palette();
    secondary.setColor(QPalette::WindowText,
                       platform::SystemColors::color(platform::SystemColor::SecondaryLabel));
    _note->setPalette(secondary);

    const auto custom = customAccent();
    _useAccent->setChecked(custom.has_value());
    _accent->setEnabled(custom.has_value());
    _accent->setColor(custom.value_or(platform::SystemColors::accentColor()));
}

void QovClassicPrefs::stepped(QSpinBox* stepper) {
    (stepper == _sizeStep ? _size : _height)->setText(QString::number(stepper->value()));
    changed();
}

void QovClassicPrefs::changed() {
    if (!_font) return;
    cfg_fontName.set(_font->currentIndex() == 0 ? "" : _font->currentText().toUtf8().constData());
    cfg_fontSize.set(std::clamp(fieldValue(_size), kFontSizeMin, kFontSizeMax));
    cfg_rowHeight.set(std::clamp(fieldValue(_height), kRowHeightMin, kRowHeightMax));
    cfg_statusLeft.set(_left->text().toUtf8().constData());
    cfg_statusRight.set(_right->text().toUtf8().constData());
    cfg_theme.set(_theme->currentIndex());
    cfg_windowTitle.set(_winTitle->text().toUtf8().constData());
    cfg_tabClose.set(_tabClose->isChecked() ? 1 : 0);
    cfg_accent.set(_useAccent->isChecked() ? accentText(_accent->color()).c_str() : "");
    applyTheme();
    platform::NotificationCenter::defaultCenter().post(platform::kClassicUIPrefsChanged);
    load();
}

void QovClassicPrefs::reset() {
    cfg_fontName.set("");
    cfg_fontSize.set(kDefaultFontSize);
    cfg_rowHeight.set(kDefaultRowHeight);
    cfg_statusLeft.set(kDefaultStatusLeft);
    cfg_statusRight.set(kDefaultStatusRight);
    cfg_theme.set(kThemeSystem);
    cfg_accent.set("");
    cfg_tabClose.set(0);
    cfg_windowTitle.set(kDefaultWindowTitle);
    applyTheme();
    platform::NotificationCenter::defaultCenter().post(platform::kClassicUIPrefsChanged);
    load();
}
