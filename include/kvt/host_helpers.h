// What a host needs beside the two classes to drive them as the component
// expects: the component's reading of typed numbers, the detail set its
// voucher lines are written into, the message texts a host sees in the
// component's message boxes (to recognise them, or to title its own the
// same way), the order line's discount formulas, how a saved print
// preference is read, and the delivery dialog's proposed choice.
#pragma once

#include <string>

#include "kvt/export.h"
#include "platform/value/currency.h"
#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt {

// `text` read as the component reads a typed number ("," grouping dropped,
// "." decimal point); Empty for text that is no number.
KVT_EXPORT vb::Variant ParseTypedNumber(const std::string& text);

// A new, empty voucher detail set with the columns CGRV.AddGRVDetailToRS
// writes: the consignment layout (quantities returned, sold and left) or
// the goods received one.
KVT_EXPORT data::RecordSetRef NewVoucherDetailSet(bool consignment);

// The titles of the receive item dialog's message boxes.
KVT_EXPORT const char* StockReceiptsTitle();
KVT_EXPORT const char* ConsignmentReturnsTitle();

// The save voucher dialog's refusal of a period before the current one.
KVT_EXPORT const char* PriorPeriodRefusedMessage();

// A discount formula evaluated as an order line evaluates it: upper-cased,
// every X replaced by `subtotal` (as CStr shows it) and every V<i> by the
// i-th entry of the comma-separated `parameters`. `formula` is left holding
// the expanded text the engine received. Raises the engine's error for the
// expression, 13 or 94 for a result that is no number, 6 when it leaves the
// currency range, and vbObjectError + 1000 for a parameter that is no
// number.
KVT_EXPORT vb::Currency EvaluateDiscountFormula(std::string& formula, const std::string& subtotal,
                                                const std::string& parameters = "");

// The saved print preferences as the documents read them: true when the
// purchase order's saved value asks for the boxed layout, and when a
// voucher's saved value asks for the plain (unruled) one.
KVT_EXPORT bool WantsBoxedPurchaseOrder(const std::string& saved_value);
KVT_EXPORT bool WantsPlainVoucher(const std::string& saved_value);

// Proposes "save without processing" in the delivery dialog COrder has
// loaded (LoadDeliveryForm), so processing, which cannot be undone, is not
// the default choice. Raises 91 when no dialog is loaded.
KVT_EXPORT void ProposeSavingWithoutProcessing();

// Forgets what the component keeps for the calling thread (the settings it
// read, its dialogs, and its services with their connection), as at the
// thread's end: a host whose threads work for one user after another calls
// it between them.
KVT_EXPORT void ForgetThreadState();

}  // namespace kvt
