#include "export/DocxParts.h"

#include "base/ApplicationTitle.h"
#include "export/DocxStyles.h"
#include "export/TableCell.h"
#include "export/XmlText.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

constexpr std::string_view kPackageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kWordContent = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

std::string contentTypes() {
  std::string xml =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default"
      " Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Default Extension=\"png\""
      " ContentType=\"image/png\"/>";
  const auto override = [&](std::string_view part, std::string_view type) {
    xml += "<Override PartName=\"/";
    xml += part;
    xml += "\" ContentType=\"";
    xml += type;
    xml += "\"/>";
  };
  const std::string word(kWordContent);
  override("word/document.xml", word + "document.main+xml");
  override("word/styles.xml", word + "styles+xml");
  override("word/settings.xml", word + "settings+xml");
  override("word/fontTable.xml", word + "fontTable+xml");
  override("word/footer1.xml", word + "footer+xml");
  override("docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
  override("docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml");
  return xml + "</Types>";
}

void appendRelationship(std::string& xml, std::string_view id, std::string_view type,
                        std::string_view target) {
  xml += "<Relationship Id=\"";
  xml += id;
  xml += "\" Type=\"";
  xml += type;
  xml += "\" Target=\"";
  xml += target;
  xml += "\"/>";
}

std::string packageRelationships() {
  std::string xml = "<Relationships xmlns=\"" + std::string(kPackageRelationships) + "\">";
  appendRelationship(xml, "rIdDocument", std::string(kRelationshipNamespace) + "/officeDocument",
                     "word/document.xml");
  appendRelationship(xml, "rIdCore", std::string(kPackageRelationships) + "/metadata/core-properties",
                     "docProps/core.xml");
  appendRelationship(xml, "rIdApp", std::string(kRelationshipNamespace) + "/extended-properties",
                     "docProps/app.xml");
  return xml + "</Relationships>";
}

std::string documentRelationships(std::size_t pictures) {
  const std::string type = std::string(kRelationshipNamespace) + "/";
  std::string xml = "<Relationships xmlns=\"" + std::string(kPackageRelationships) + "\">";
  appendRelationship(xml, "rIdStyles", type + "styles", "styles.xml");
  appendRelationship(xml, "rIdSettings", type + "settings", "settings.xml");
  appendRelationship(xml, "rIdFonts", type + "fontTable", "fontTable.xml");
  appendRelationship(xml, kFooterRelationship, type + "footer", "footer1.xml");
  for (std::size_t i = 0; i < pictures; ++i) {
    appendRelationship(xml, docxPictureRelationship(i), type + "image", docxPicturePart(i));
  }
  return xml + "</Relationships>";
}

// Word opens a document without this in the compatibility mode of its 2007 edition.
std::string settings() {
  return "<w:settings xmlns:w=\"" + std::string(kWordNamespace) +
         "\"><w:zoom w:percent=\"100\"/><w:defaultTabStop w:val=\"420\"/><w:characterSpacingControl"
         " w:val=\"compressPunctuation\"/><w:compat><w:compatSetting w:name=\"compatibilityMode\""
         " w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat></w:settings>";
}

// A field's instruction and the text shown until a reader computes it.
void appendField(std::string& xml, std::string_view instruction) {
  xml += "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\"> ";
  xml += instruction;
  xml +=
      " </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>1</w:t></w:r><w:r>"
      "<w:fldChar w:fldCharType=\"end\"/></w:r>";
}

void appendText(std::string& xml, std::string_view text) {
  xml += "<w:r><w:t xml:space=\"preserve\">";
  xml += text;
  xml += "</w:t></w:r>";
}

// "第 X 页 共 Y 页".
std::string footer() {
  std::string xml = "<w:ftr xmlns:w=\"" + std::string(kWordNamespace) + "\"><w:p><w:pPr><w:pStyle w:val=\"" +
                    std::string(kFooterStyle) + "\"/></w:pPr>";
  appendText(xml, "第 ");
  appendField(xml, "PAGE");
  appendText(xml, " 页 共 ");
  appendField(xml, "NUMPAGES");
  appendText(xml, " 页");
  return xml + "</w:p></w:ftr>";
}

// The time as the format's W3C date-time in UTC: "2024-03-05T12:34:56Z".
std::string w3cDateTime(std::chrono::sys_seconds time) {
  std::string text = dateTimeText(calendarOfEpochSeconds(time.time_since_epoch().count()));
  text[10] = 'T';
  return text + 'Z';
}

std::string coreProperties(const DocxDocument& document) {
  std::string xml =
      "<cp:coreProperties"
      " xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\""
      " xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\""
      " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>";
  appendXmlText(xml, document.title);
  xml += "</dc:title>";
  const std::string created = w3cDateTime(document.created);
  for (const std::string_view element : {"created", "modified"}) {
    xml += "<dcterms:";
    xml += element;
    xml += " xsi:type=\"dcterms:W3CDTF\">" + created + "</dcterms:";
    xml += element;
    xml += ">";
  }
  return xml + "</cp:coreProperties>";
}

std::string appProperties() {
  return "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
         "<Application>" +
         std::string(app::kApplicationTitle) + "</Application></Properties>";
}

}  // namespace

std::string docxPictureRelationship(std::size_t index) { return "rIdPicture" + std::to_string(index + 1); }

std::string docxPicturePart(std::size_t index) { return "media/image" + std::to_string(index + 1) + ".png"; }

std::vector<DocxPart> docxPackageParts(const DocxDocument& document, std::size_t pictures) {
  return {{"[Content_Types].xml", contentTypes()},
          {"_rels/.rels", packageRelationships()},
          {"word/_rels/document.xml.rels", documentRelationships(pictures)},
          {"word/styles.xml", docxStyles()},
          {"word/settings.xml", settings()},
          {"word/fontTable.xml", docxFontTable()},
          {"word/footer1.xml", footer()},
          {"docProps/core.xml", coreProperties(document)},
          {"docProps/app.xml", appProperties()}};
}

}  // namespace pq
