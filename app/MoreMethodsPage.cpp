#include "MoreMethodsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <utility>

#include "BoxText.h"

namespace {

// Where the page's parts sit, as the other pages place their options: in
// the room under the result box, the list on the left above Find key,
// clear of the window's buttons on the right.
constexpr QRect kFilterPlace(16, 326, 140, 21);
constexpr QRect kListPlace(16, 350, 140, 46);
// The chosen method's summary, and its options under it.
constexpr QRect kDetailsPlace(168, 326, 305, 82);

// The page's own name in the registry.
constexpr std::string_view kPage = "moreMethodsPage";

// An option's name as a caption: "no-padding" as "No padding".
QString captionOf(const methods::Option& option) {
  QString caption = QString::fromUtf8(option.name).replace(QLatin1Char('-'), QLatin1Char(' '));
  if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
  return caption;
}

// Keeps `box` on the values of `choices`: a value between two of them, by a
// step or typed, goes on to the next one in the direction it moved.
void keepToChoices(QSpinBox& box, std::span<const std::int32_t> choices) {
  std::vector<int> sorted(choices.begin(), choices.end());
  std::sort(sorted.begin(), sorted.end());
  box.setRange(sorted.front(), sorted.back());
  box.setValue(sorted.front());
  auto last = std::make_shared<int>(sorted.front());
  QObject::connect(&box, &QSpinBox::valueChanged, &box, [&box, sorted, last](int value) {
    if (std::binary_search(sorted.begin(), sorted.end(), value)) {
      *last = value;
      return;
    }
    const auto above = std::upper_bound(sorted.begin(), sorted.end(), value);
    box.setValue(value > *last ? *above : *std::prev(above));
  });
}

}  // namespace

MoreMethodsPage::MoreMethodsPage(QWidget* parent) : MoreMethodsPage(registryMethods(), parent) {}

std::vector<const methods::Method*> MoreMethodsPage::registryMethods() {
  std::vector<const methods::Method*> offered;
  for (const methods::Method& method : methods::all()) {
    if (method.page == kPage) offered.push_back(&method);
  }
  return offered;
}

MoreMethodsPage::MoreMethodsPage(std::vector<const methods::Method*> listed, QWidget* parent)
    : QWidget(parent), offered(std::move(listed)) {
  filterBox = new QLineEdit(this);
  filterBox->setObjectName(QStringLiteral("methodFilterBox"));
  filterBox->setGeometry(kFilterPlace);
  filterBox->setPlaceholderText(tr("Filter"));
  filterBox->setClearButtonEnabled(true);
  filterBox->setAccessibleName(tr("Filter methods"));
  filterBox->setAccessibleDescription(tr("Lists only the methods whose name or summary holds it"));

  list = new QListWidget(this);
  list->setObjectName(QStringLiteral("methodList"));
  list->setGeometry(kListPlace);
  list->setAccessibleName(tr("Methods"));
  list->setAccessibleDescription(tr("The method that Encrypt and Decrypt run"));
  std::sort(offered.begin(), offered.end(),
            [](const auto* a, const auto* b) { return a->caption < b->caption; });
  for (std::size_t i = 0; i < offered.size(); ++i) {
    const methods::Method* method = offered[i];
    auto* item = new QListWidgetItem(QString::fromUtf8(method->caption), list);
    item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    item->setToolTip(QString::fromUtf8(method->summary));
  }

  auto* details = new QWidget(this);
  details->setGeometry(kDetailsPlace);
  auto* column = new QVBoxLayout(details);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  summary = new QLabel(details);
  summary->setObjectName(QStringLiteral("methodSummary"));
  summary->setWordWrap(true);
  summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  column->addWidget(summary);
  optionArea = new QWidget(details);
  optionArea->setObjectName(QStringLiteral("methodOptions"));
  column->addWidget(optionArea);
  column->addStretch();
  optionRows = new QFormLayout(optionArea);
  optionRows->setContentsMargins(0, 0, 0, 0);
  optionRows->setVerticalSpacing(2);

  connect(filterBox, &QLineEdit::textChanged, this, &MoreMethodsPage::filter);
  // The selection, not the current row, is the choice: a screen reader's
  // user selects a row without moving to it.
  connect(list, &QListWidget::itemSelectionChanged, this, [this] {
    showOptions();
    emit methodChosen();
    emit optionsChanged();
  });
  list->setCurrentRow(0);
}

const methods::Method* MoreMethodsPage::method() const {
  const QList<QListWidgetItem*> chosen = list->selectedItems();
  if (chosen.isEmpty() || chosen.front()->isHidden()) return nullptr;
  return offered[chosen.front()->data(Qt::UserRole).toULongLong()];
}

methods::Settings MoreMethodsPage::settings(
    const std::function<std::string(QLineEdit*)>& bytes) const {
  methods::Settings settings;
  const methods::Method* chosen = method();
  if (chosen == nullptr) return settings;
  for (std::size_t i = 0; i < chosen->options.size(); ++i) {
    const methods::Option& option = chosen->options[i];
    switch (option.kind) {
      case methods::OptionKind::integer:
        if (given[i] == nullptr || given[i]->isChecked())
          settings.push_back(
              {option.name, std::int32_t{static_cast<QSpinBox*>(controls[i])->value()}});
        break;
      case methods::OptionKind::flag:
        if (static_cast<QCheckBox*>(controls[i])->isChecked())
          settings.push_back({option.name, true});
        break;
      case methods::OptionKind::text:
        if (std::string text = bytes(static_cast<QLineEdit*>(controls[i])); !text.empty())
          settings.push_back({option.name, std::move(text)});
        break;
    }
  }
  return settings;
}

bool MoreMethodsPage::missing() const {
  const methods::Method* chosen = method();
  if (chosen == nullptr) return false;
  for (std::size_t i = 0; i < chosen->options.size(); ++i) {
    if (chosen->options[i].required && chosen->options[i].kind == methods::OptionKind::text &&
        static_cast<QLineEdit*>(controls[i])->text().isEmpty())
      return true;
  }
  return false;
}

void MoreMethodsPage::choose(const methods::Method& chosen, const methods::Settings& options,
                             text::Encoding encoding) {
  const QList<QListWidgetItem*> items =
      list->findItems(QString::fromUtf8(chosen.caption), Qt::MatchExactly);
  if (items.isEmpty()) return;
  if (items.front()->isHidden()) filterBox->clear();
  list->setCurrentItem(items.front());
  for (std::size_t i = 0; i < chosen.options.size(); ++i) {
    const methods::Option& option = chosen.options[i];
    switch (option.kind) {
      case methods::OptionKind::integer: {
        auto* box = static_cast<QSpinBox*>(controls[i]);
        const bool set = std::any_of(options.begin(), options.end(), [&](const auto& setting) {
          return setting.name == option.name;
        });
        if (given[i] != nullptr) given[i]->setChecked(set);
        box->setValue(methods::integerOf(options, option.name, box->value()));
        break;
      }
      case methods::OptionKind::flag:
        static_cast<QCheckBox*>(controls[i])->setChecked(methods::flagOf(options, option.name));
        break;
      case methods::OptionKind::text:
        static_cast<QLineEdit*>(controls[i])
            ->setText(fromBytes(methods::textOf(options, option.name), encoding));
        break;
    }
  }
}

void MoreMethodsPage::filter(const QString& text) {
  const QString wanted = text.trimmed();
  QListWidgetItem* firstShown = nullptr;
  for (int row = 0; row < list->count(); ++row) {
    QListWidgetItem* item = list->item(row);
    const methods::Method* listed = offered[item->data(Qt::UserRole).toULongLong()];
    const bool shown = QString::fromUtf8(listed->caption).contains(wanted, Qt::CaseInsensitive) ||
                       QString::fromUtf8(listed->summary).contains(wanted, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (shown && firstShown == nullptr) firstShown = item;
  }
  if (method() != nullptr) return;
  if (firstShown != nullptr) {
    list->setCurrentItem(firstShown);
  } else {
    // The method chosen is gone from the list; nothing runs until one shows.
    list->clearSelection();
  }
}

void MoreMethodsPage::showOptions() {
  while (optionRows->rowCount() > 0)
    optionRows->removeRow(0);
  controls.clear();
  given.clear();
  const methods::Method* chosen = method();
  summary->setText(chosen != nullptr ? QString::fromUtf8(chosen->summary) : QString());
  if (chosen == nullptr) return;
  // Tab goes from the list through the options, which are made after the
  // window's other controls.
  QWidget* before = list;
  const auto tabTo = [&before](QWidget* next) {
    QWidget::setTabOrder(before, next);
    before = next;
  };
  for (const methods::Option& option : chosen->options) {
    const QString caption = captionOf(option);
    QWidget* control = nullptr;
    switch (option.kind) {
      case methods::OptionKind::integer: {
        auto* box = new QSpinBox(optionArea);
        box->setKeyboardTracking(false);
        if (option.choices.empty()) {
          box->setRange(std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max());
        } else {
          keepToChoices(*box, option.choices);
        }
        connect(box, &QSpinBox::valueChanged, this, &MoreMethodsPage::optionsChanged);
        control = box;
        break;
      }
      case methods::OptionKind::flag: {
        auto* check = new QCheckBox(caption, optionArea);
        connect(check, &QCheckBox::toggled, this, &MoreMethodsPage::optionsChanged);
        control = check;
        break;
      }
      case methods::OptionKind::text: {
        auto* box = new QLineEdit(optionArea);
        box->setPlaceholderText(QString::fromUtf8(option.placeholder));
        box->setMaxLength(std::numeric_limits<int>::max());
        connect(box, &QLineEdit::textChanged, this, &MoreMethodsPage::optionsChanged);
        control = box;
        break;
      }
    }
    control->setObjectName(QString::fromUtf8(option.name) + QStringLiteral("Option"));
    control->setAccessibleName(caption);
    control->setAccessibleDescription(QString::fromUtf8(option.help));
    control->setToolTip(QString::fromUtf8(option.help));
    QCheckBox* giving = nullptr;
    if (option.kind == methods::OptionKind::flag) {
      optionRows->addRow(control);
    } else if (option.kind == methods::OptionKind::integer && !option.required) {
      // A number that may be left out is given only when ticked; otherwise
      // the method takes its own.
      giving = new QCheckBox(tr("%1 :").arg(caption), optionArea);
      giving->setObjectName(QString::fromUtf8(option.name) + QStringLiteral("Given"));
      giving->setAccessibleDescription(tr("Gives the option; the method's own value otherwise"));
      control->setEnabled(false);
      connect(giving, &QCheckBox::toggled, control, &QWidget::setEnabled);
      connect(giving, &QCheckBox::toggled, this, &MoreMethodsPage::optionsChanged);
      optionRows->addRow(giving, control);
      emit optionBoxMade(control);
    } else {
      auto* label = new QLabel(tr("%1 :").arg(caption), optionArea);
      label->setBuddy(control);
      optionRows->addRow(label, control);
      emit optionBoxMade(control);
    }
    if (giving != nullptr) tabTo(giving);
    tabTo(control);
    controls.push_back(control);
    given.push_back(giving);
  }
}
