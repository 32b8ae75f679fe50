#pragma once
#include <QString>

namespace cardora {

class TFieldRecord;

// A vCard 3.0 (lines ending CR LF) from the record's non-empty fields Name
// (FN and N), Company, Title, Phone1 (work), Phone2 (cell), Fax, Email,
// Address1-Address3 (a work address: street, town, country) and URL. In texts "\", ",", ";" and
// line breaks are escaped as vCard wants; the URL is an address, kept as it
// is. Without a name FN is left empty, as vCard requires the line.
QString VCardText(const TFieldRecord& record);

// The same contact as a MeCard, the shorter form phones read from QR codes;
// it has no fax or title lines, so the title goes into its note.
QString MeCardText(const TFieldRecord& record);

} // namespace cardora
