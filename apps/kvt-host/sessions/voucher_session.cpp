#include "apps/kvt-host/sessions/voucher_session.h"

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/post_voucher.h"
#include "apps/kvt-host/posting/refusal.h"
#include "kvt/host_helpers.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/data_gateway.h"
#include "services/failure_words.h"

namespace kvt::host {

namespace {

constexpr char kSource[] = "KvtHost.VoucherSession";

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

data::RecordSetRef RowsOf(const vb::Variant& value) {
  const vb::ObjectRef* object = value.get_if<vb::ObjectRef>();
  auto rows = object ? std::dynamic_pointer_cast<data::RecordSet>(*object) : nullptr;
  if (!rows) throw vb::Error(vb::err::kTypeMismatch, kSource, "A query gave no record set.");
  return rows;
}

double Number(const data::RecordSet& rows, const char* column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? 0.0 : vb::CDbl(value);
}

std::string Text(const data::RecordSet& rows, const char* column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

int32_t Key(const data::RecordSet& rows, const char* column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? 0 : vb::CLng(value);
}

double TypedQty(const std::string& text) { return vb::CDbl(ParseTypedNumber(text)); }

// Moves `rows` to the row whose `column` is `key`; false (at the end) when
// none is.
bool MoveTo(data::RecordSet& rows, const char* column, int32_t key) {
  if (rows.RecordCount() == 0) return false;
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    if (Key(rows, column) == key) return true;
  }
  return false;
}

data::RecordSetRef RunList(const std::string& connection_text, const std::string& command) {
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(connection_text, -1, 3);
  int32_t status = 0;
  return gateway.OpenRecordset(command, 1, 3, 3, connection, status);
}

}  // namespace

VoucherSession::VoucherSession(HostContext context, posting::TransactionType type)
    : context_(std::move(context)), type_(type) {
  if (type != posting::kGoodsReceived && type != posting::kGoodsReturned &&
      type != posting::kConsignmentReceived && type != posting::kConsignmentReturned) {
    throw vb::Error(vb::err::kInvalidCall, kSource,
                    "Transaction type " + std::to_string(type) + " is no voucher kind.");
  }
  grv_.ConnectionString(context_.connection_text);
  grv_.CompanyID(context_.company_id);
  grv_.QtyDecimals(context_.qty_decimals);
  grv_.PriceDecimals(context_.price_decimals);
  grv_.mbIsCRN(type == posting::kConsignmentReturned);
  header_ = std::make_shared<VoucherHeaderStrip>();
  header_->Load();
  ClearVoucher();
}

VoucherSession::~VoucherSession() {
  grv_.UnloadGRVDetailForm();
  grv_.UnloadGRVSaveForm();
}

bool VoucherSession::IsReturn() const {
  return type_ == posting::kGoodsReturned || type_ == posting::kConsignmentReturned;
}

bool VoucherSession::IsConsignment() const {
  return type_ == posting::kConsignmentReceived || type_ == posting::kConsignmentReturned;
}

const char* VoucherSession::Title() const {
  switch (type_) {
    case posting::kGoodsReceived: return "Goods received";
    case posting::kGoodsReturned: return "Goods returned";
    case posting::kConsignmentReceived: return "Consignment received";
    default: return "Consignment returned";
  }
}

data::RecordSetRef VoucherSession::Suppliers() const {
  return RunList(context_.connection_text,
                 "Exec sp_AO_Select_Suppliers " + std::to_string(context_.company_id));
}

void VoucherSession::ChooseSupplier(int32_t supplier_id) {
  supplier_id_ = supplier_id;
  source_id_ = 0;
  source_number_.clear();
  source_lines_.reset();
  ClearVoucher();
}

data::RecordSetRef VoucherSession::Sources() {
  // The component's queries take the supplier as a 16-bit key.
  CGRV& grv = grv_;
  const auto supplier = static_cast<int16_t>(supplier_id_);
  switch (type_) {
    case posting::kGoodsReturned: return RowsOf(grv.GetReceivedGRV(supplier, context_.company_id));
    case posting::kConsignmentReturned:
      return RowsOf(grv.GetReceivedCRV(supplier, context_.company_id));
    default: return RowsOf(grv.GetOutstandingOrders(supplier, context_.company_id));
  }
}

void VoucherSession::ChooseSource(int32_t source_id) {
  data::RecordSetRef sources = Sources();
  if (!MoveTo(*sources, "ID", source_id)) {
    throw vb::Error(
        vb::err::kInvalidCall, kSource,
        "The supplier has nothing to capture against under key " + std::to_string(source_id) + ".");
  }
  source_id_ = source_id;
  ClearVoucher();
  const vb::Variant source_row = AsVariant(sources);
  if (IsReturn()) {
    source_number_ = Text(*sources, IsConsignment() ? "CRV Number" : "GRV Number");
    vb::Variant element[] = {vb::Variant(2)};
    grv_.InsertGRVHeaderValues(source_row, header_->Get("lblHeader", element));
    source_lines_ = RowsOf(IsConsignment() ? grv_.GetReceivedCRVDetails(source_id)
                                           : grv_.GetReceivedGRVDetails(source_id));
  } else {
    source_number_ = Text(*sources, "Order Number");
    grv_.InsertOrderHeaderValues(source_row, header_->SourceLabels(), header_->TextBoxes());
    source_lines_ = RowsOf(grv_.GetOutstandingOrdersDetails(source_id));
  }
}

data::RecordSet& VoucherSession::SourceLines() {
  if (!source_lines_) {
    throw vb::Error(vb::err::kObjectNotSet, kSource, "No order or voucher is chosen.");
  }
  return *source_lines_;
}

bool VoucherSession::PositionOnSource(int32_t source_line_id) {
  return MoveTo(SourceLines(), "ID", source_line_id);
}

void VoucherSession::PositionOnLine(int row) {
  if (row < 0 || row >= lines_->RecordCount()) {
    throw vb::Error(vb::err::kSubscriptOutOfRange, kSource,
                    "The voucher has no line " + std::to_string(row + 1) + ".");
  }
  lines_->MoveFirst();
  for (int i = 0; i < row; ++i) lines_->MoveNext();
}

bool VoucherSession::IsOnVoucher(int32_t source_line_id) {
  return MoveTo(*lines_, "FK ID", source_line_id);
}

bool VoucherSession::ReceiveLine(int32_t source_line_id) {
  if (IsOnVoucher(source_line_id)) {
    PositionOnSource(source_line_id);
    Tell(Text(SourceLines(), "Code") + " is already on this voucher: change that line instead.",
         ui::vbInformation);
    return false;
  }
  if (!PositionOnSource(source_line_id)) {
    throw vb::Error(vb::err::kInvalidCall, kSource,
                    "Line " + std::to_string(source_line_id) + " is not on " + SourceLabel() + ".");
  }
  data::RecordSet& source = SourceLines();
  const vb::Variant source_row = AsVariant(source_lines_);
  // A fresh dialog for every line: what a consignment fill disables stays
  // disabled for the life of the dialog.
  grv_.UnloadGRVDetailForm();
  grv_.LoadGRVDetailForm();
  grv_.Set_Form_State(IsReturn() ? kvFormState::kvReturning : kvFormState::kvAdding);
  switch (type_) {
    case posting::kGoodsReceived: grv_.AssignAllForAdding(source_row); break;
    case posting::kGoodsReturned: grv_.AssignAllForReturnAdding(source_row); break;
    case posting::kConsignmentReceived: grv_.AssignAllForCRVAdding(source_row); break;
    default: grv_.AssignAllForCRVReturnAdding(source_row); break;
  }
  const bool confirmed = RunLineDialog(source);
  if (confirmed) {
    const vb::Variant destination = AsVariant(lines_);
    if (IsConsignment()) {
      grv_.AddCRVDetailToRS(destination);
    } else {
      grv_.AddGRVDetailToRS(destination);
    }
  }
  grv_.UnloadGRVDetailForm();
  ShowTotals();
  return confirmed;
}

bool VoucherSession::EditLine(int row) {
  PositionOnLine(row);
  const int32_t source_line_id = Key(*lines_, "FK ID");
  if (!PositionOnSource(source_line_id)) {
    throw vb::Error(vb::err::kInvalidCall, kSource,
                    "Line " + std::to_string(row + 1) + " is not on " + SourceLabel() + ".");
  }
  data::RecordSet& source = SourceLines();
  const vb::Variant voucher_row = AsVariant(lines_);
  grv_.UnloadGRVDetailForm();
  grv_.LoadGRVDetailForm();
  if (type_ == posting::kConsignmentReceived) {
    // Only the quantity of a consignment receipt is open, as when it was added.
    grv_.AssignAllForCRVAdding(AsVariant(source_lines_));
  }
  grv_.Set_Form_State(kvFormState::kvEditing);
  if (IsConsignment()) {
    grv_.AssignAllForCRVEditing(voucher_row);
  } else {
    grv_.AssignAllForEditing(voucher_row);
  }
  if (type_ == posting::kConsignmentReturned) {
    // The dialog moves the quantity from left to returned again on confirm:
    // show it the consignment line as it stood before this return.
    const double qty = Number(*lines_, "Qty");
    grv_.Left_Qty(posting::QtyText(Number(*lines_, "Qty Left") + qty));
    grv_.Returned_Qty(posting::QtyText(Number(*lines_, "Qty Returned") - qty));
  }
  const bool confirmed = RunLineDialog(source);
  if (confirmed) {
    if (IsConsignment()) {
      grv_.UpdateCRVDetailRS(voucher_row);
    } else {
      grv_.UpdateGRVDetailRS(voucher_row);
    }
    lines_->Update();  // committing the row is the host's part
  }
  grv_.UnloadGRVDetailForm();
  ShowTotals();
  return confirmed;
}

bool VoucherSession::RunLineDialog(data::RecordSet& source_row) {
  // Consignment returns have their own check in the dialog, which also moves
  // the quantity on confirm: shown once.
  const bool host_checks = type_ != posting::kConsignmentReturned;
  for (;;) {
    grv_.ShowGRVDetailForm();
    if (!grv_.IsGRVDetailFormLoaded()) return false;  // cancelled
    const std::string refusal =
        host_checks ? OverLimit(source_row, TypedQty(grv_.Received_Qty())) : std::string();
    if (refusal.empty()) return true;
    Tell(refusal, ui::vbExclamation);
  }
}

std::string VoucherSession::OverLimit(data::RecordSet& source_row, double qty) const {
  const std::string product = posting::ProductText(
      Text(source_row, "Code"), Text(source_row, "Product"), Key(source_row, "Products ID"));
  // "Only 8 of CODE (name) are outstanding on order PO1: 20 ordered, 12
  // received. Please receive 8 or less."
  auto refuse = [&](double limit, const char* can, const std::string& figures,
                    const char* verb) -> std::string {
    if (qty <= limit + posting::kQtySlack) return {};
    const std::string most = posting::QtyText(limit);
    return "Only " + most + " of " + product + can + SourceLabel() + ": " + figures + ". Please " +
           verb + " " + most + " or less.";
  };
  using posting::QtyText;
  if (IsReturn()) {
    const double received = Number(source_row, "Qty");
    const double returned = Number(source_row, "Qty Returned");
    return refuse(received - returned, " can be returned on ",
                  QtyText(received) + " received, " + QtyText(returned) + " already returned",
                  "return");
  }
  const double ordered = Number(source_row, "Qty") + Number(source_row, "B/O Qty");
  const double received = Number(source_row, "Received Qty");
  return refuse(ordered - received, " are outstanding on ",
                QtyText(ordered) + " ordered, " + QtyText(received) + " received", "receive");
}

bool VoucherSession::RemoveLine(int row) {
  PositionOnLine(row);
  const std::string product = posting::ProductText(Text(*lines_, "Code"), Text(*lines_, "Product"),
                                                   Key(*lines_, "ProductsID"));
  const int answer = ui::MsgBox("Remove " + product + " from this voucher?",
                                ui::vbYesNo | ui::vbQuestion, StockReceiptsTitle());
  if (answer != ui::vbYes) return false;
  lines_->Delete();
  ShowTotals();
  return true;
}

bool VoucherSession::CanChangeFunction(uint8_t function) {
  return grv_.CanChangeFunction(function, AsVariant(lines_));
}

std::optional<posting::PostedVoucher> VoucherSession::Save() {
  if (lines_->RecordCount() <= 0) {
    Tell("There is no line on this voucher to save.", ui::vbInformation);
    return std::nullopt;
  }
  data::RecordSetRef months = RunList(context_.connection_text, "Exec sp_AW_Select_Months");
  data::RecordSetRef years = RunList(context_.connection_text, "Exec sp_AW_Select_Years");
  grv_.UnloadGRVSaveForm();
  grv_.LoadGRVSaveForm();
  grv_.BindSaveFormLups(AsVariant(months), AsVariant(years), "", date_, context_.company_id);
  grv_.ShowGRVSaveForm(static_cast<uint8_t>(type_));
  if (!grv_.IsGRVSaveFormLoaded()) return std::nullopt;  // cancelled

  posting::Voucher voucher;
  voucher.tran_type = type_;
  voucher.company_id = context_.company_id;
  voucher.supplier_id = supplier_id_;
  (IsReturn() ? voucher.source_voucher_id : voucher.purchase_order_id) = source_id_;
  voucher.del_note_number = header_->DelNoteNumber();
  voucher.supplier_ref = header_->SupplierRef();
  voucher.notes = notes_;
  voucher.date = date_;
  voucher.user_id = context_.user_id;
  voucher.create_supplier_document = grv_.Save_Supplier_Inv();
  voucher.supplier_document_number = grv_.Supplier_Inv_No();
  voucher.supplier_document_date = grv_.Supplier_Inv_Date();
  voucher.period_month = grv_.Acc_Period_Month();
  voucher.period_year_key = grv_.Acc_Period_Year();
  voucher.lines = lines_;
  grv_.UnloadGRVSaveForm();
  try {
    services::DataGateway gateway;
    data::ConnectionRef connection = gateway.OpenConnection(context_.connection_text, -1, 3);
    posting::PostedVoucher posted = posting::PostVoucher(*connection, voucher);
    source_id_ = 0;
    source_number_.clear();
    source_lines_.reset();
    ClearVoucher();
    return posted;
  } catch (const vb::Error& error) {
    // Nothing was written: the clerk keeps the voucher and may correct it.
    Tell(error.number() == posting::kPostingRefused
             ? error.description()
             : services::PlainFailure("Posting the voucher", error) +
                   " Nothing was written: the voucher is still here.",
         ui::vbExclamation);
    return std::nullopt;
  }
}

void VoucherSession::Print(int32_t voucher_id, bool reprint) {
  grv_.ShowGRVReport(voucher_id, context_.company_id, context_.database_name, reprint);
}

void VoucherSession::ClearVoucher() {
  lines_ = NewVoucherDetailSet(IsConsignment());
  if (IsReturn()) {
    grv_.ClearReturnHeaderControls(header_->TextBoxes(), header_->TotalBoxes());
    header_->SupplierRef("");
  } else {
    grv_.ClearHeaderControls(header_->TextBoxes(), header_->TotalBoxes());
  }
  header_->SourceCaption("");
}

void VoucherSession::ShowTotals() {
  if (lines_->RecordCount() <= 0) {
    header_->ClearTotals();
    return;
  }
  if (lines_->IsEOF() || lines_->IsBOF()) lines_->MoveFirst();
  grv_.CalculateHeaderTotals(AsVariant(lines_), header_->TotalBoxes());
}

void VoucherSession::Tell(const std::string& message, int icon) const {
  ui::MsgBox(
      message, ui::vbOKOnly | icon,
      type_ == posting::kConsignmentReturned ? ConsignmentReturnsTitle() : StockReceiptsTitle());
}

std::string VoucherSession::SourceLabel() const {
  return (IsReturn() ? "voucher " : "order ") + source_number_;
}

}  // namespace kvt::host
