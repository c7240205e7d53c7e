// The "Filtrage / Moyennage" dialog: filter order, averaging count, the
// peaks' minimum prominence, histogram bar width, reference line entry. The caller shows the panels
// it needs, presets the values and reads them back after it closes.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/controls.h"
#include "app/dialogs/dialog.h"

namespace rovanel::app {

class Tfeature : public DialogModel {
 public:
  static constexpr std::array<const char*, 4> kBarItems = {"CBX_8 niveaux", "CBX_16 niveaux",
                                                           "CBX_32 niveaux", "CBX_64 niveaux"};
  Tfeature();

  std::string_view Name() const override { return "Tfeature"; }
  void Activate() override;
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  bool Press(std::string_view button, std::string& error) override;
  void Accept() override { valfeatClick(); }
  FormControls Texts() override {
    return {{"pofiltre", &pofiltre}, {"pmoy", &pmoy}, {"pcumul", &pcumul}, {"spRef", &spRef}, {"ppics", &ppics}, {"lblPromin", &lblPromin}, {"promin", &promin}, {"lblNumPix", &lblNumPix}, {"lblLbd1", &lblLbd1}, {"lblOrdre", &lblOrdre}, {"lblNbmoy", &lblNbmoy}, {"lblBarres", &lblBarres}, {"ordre", &ordre}, {"nbmoy", &nbmoy}, {"boxbar", &boxbar}, {"valfeat", &valfeat}, {"annfeat", &annfeat}, {"hlpfeat", &hlpfeat}};
  }
  void Reject() override { annfeatClick(); }

  void valfeatClick();
  void annfeatClick();
  // Key release in the edits `ordre` and `nbmoy`.
  void ordreKeyUp(Key key);
  void nbmoyKeyUp(Key key);
  void prominKeyUp(Key key);
  // Enter in the wavelength edit of the reference line validates.
  void spLbd1Enter() { valfeatClick(); }

  // Panels, edits (caption = text), the combo (its index below), buttons.
  Control pofiltre, pmoy, pcumul, spRef;
  Control lblOrdre, lblNbmoy, lblBarres;
  Control ordre, nbmoy, boxbar;
  // The reference line: its pixel and wavelength (edits), with their labels.
  Control spNumPix, spLbd1, lblNumPix, lblLbd1;
  Control valfeat, annfeat, hlpfeat;
  int boxbarIndex = 1;
  // The peaks' minimum prominence: its panel, label and edit (0..99 %).
  Control ppics, lblPromin, promin;

  // The values the caller presets and reads back.
  int FilterOrder = 2;
  int AvgCount = 4;
  int HistIndex = 1;
  int Prominence = 0;  // % of full scale; 0 keeps every peak found
  bool Validated = false;
  // With the reference line shown: why its pixel and wavelength cannot be
  // kept (empty: they can), naming the faulty field.
  std::function<std::string(const std::string&, const std::string&, std::string&)> CheckReference;
};

}  // namespace rovanel::app
