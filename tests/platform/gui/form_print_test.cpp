// A form printed through the printer layer: its image on one page, at the printer's
// resolution for the screen's 96 pixels an inch.
#include <gtest/gtest.h>

#include "platform/gui/gui_fixture.h"
#include "platform/gui/printer.h"
#include "platform/gui/std_controls.h"
#include "support/pdf_pages.h"
#include "support/temp_dir.h"

namespace kgui {
namespace {

using FormPrint = GuiTest;

TEST_F(FormPrint, TheFormsImageLandsOnOnePageAtItsSize) {
  KESTRIN_REQUIRE_POPPLER();
  TForm* form = makeForm(192, 96);  // 2 by 1 inches of screen
  auto* black = new TPanel(form);
  black->setParent(form);
  black->setBounds(0, 0, 96, 96);  // the left inch of the client area
  black->setColor(clBlack);
  kestrin::test::TempDir dir;
  const std::string pdf = dir.file("form.pdf");
  printer().printToPdf(pdf);
  form->print();
  ASSERT_EQ(kestrin::test::pdf_pages(pdf), 1);
  // At 20 dots an inch: the panel's inch from the page's corner is dark, the form's right
  // half is not, and below the form the page is white.
  const auto page = kestrin::test::pdf_grey_page(pdf, 1, 20);
  ASSERT_GT(page.size(), 100u);
  auto at = [&](double x_inch, double y_inch) { return page[static_cast<size_t>(y_inch * 20)][static_cast<size_t>(x_inch * 20)]; };
  EXPECT_LT(at(0.5, 0.5), 64);
  EXPECT_GT(at(1.5, 0.5), 128);
  EXPECT_GT(at(0.5, 3.0), 250);
}

}  // namespace
}  // namespace kgui
