// The public enumerations of KvtSuppliers, with their published values.
// Scoped, because several share member names (kvTradeDisc is both a formula
// type and a header field).
#pragma once

#include <cstdint>

namespace kvt {

enum class KvFormulaType : int32_t {
  kvTradeDisc = 1,
  kvRebateDisc = 2,
  kvOtherDisc = 3,
  KvTAXCODE = 4,
};

enum class KvFormulas : int32_t {
  fTradeDiscount = 1,
  fRebateDiscount = 2,
  fOtherDiscount = 3,
  fTaxCodes = 4,
};

enum class KvDOING : int32_t {
  CreateNewOrder = 1,
  EditExisting = 2,
};

// The host's voucher functions.
enum class Action : int32_t {
  kvFetch = 0,
  kvReceiveItem = 1,
  kvReceiveAll = 2,
  kvEdit = 3,
  kvRemoveItem = 4,
  kvRemoveAll = 5,
  kvSave = 6,
};

// Positions of the line dialogs' action buttons.
enum class KvActionBtn : int32_t {
  aUpdate = 0,
  aCancel = 1,
  aApply = 2,
};

// Positions of the line dialogs' editable fields.
enum class KvEditableControls : int32_t {
  eOrderQty = 0,
  eUnitPrice = 1,
  eTradeDisc = 2,
  eRebateDisc = 3,
  eOtherDisc = 4,
  eNetAmount = 5,
};

// Positions of the line dialogs' computed-amount labels.
enum class KvCalculatedControls : int32_t {
  cSubTotal = 0,
  cTradeDiscTotal = 1,
  cRebateDiscTotal = 2,
  cTaxAmount = 3,
  cTotalCost = 4,
};

enum class ProductSource : int32_t {
  kvOrderDetails = 1,
  kvProductSearch = 2,
};

// Positions of the host's voucher header fields.
enum class kvHeaderEdit : int32_t {
  kvDelNoteNo = 1,
  kvOrderNo = 2,
  kvSupplierRef = 3,
  kvTradeDisc = 4,
  kvRebateDisc = 5,
  kvOtherDisc = 6,
  kvNetAmount = 7,
  kvTaxAmount = 8,
  kvTotalAmount = 9,
};

enum class kvFormState : int32_t {
  kvAdding = 0,
  kvEditing = 1,
  kvReturning = 2,
};

// How a late-bound call reaches a member: read, write a value, write an
// object reference, or run it.
enum class CallKind : int32_t {
  kGet = 0,
  kLet = 1,
  kSet = 2,
  kCall = 3,
};

}  // namespace kvt
