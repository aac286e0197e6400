object Form1: TForm1
  Left = 442
  Top = 291
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Rastel （Ver 2.12.13)'
  ClientHeight = 529
  ClientWidth = 747
  Color = 7176239
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesktopCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 12
  object HiSukeSukeImgEx1: THiSukeSukeImgEx
    Left = 615
    Top = 23
    Width = 44
    Height = 20
    TabOrder = 0
    OnFrameColor = clWhite
    OnCaption.Strings = (
      '常時前')
    OffCaption.Strings = (
      'フリー')
    OnClick = HiSukeSukeImgEx1Click
    BevelWidth = 3
    OnFaceColor = 14995945
    ShadowColor = clSilver
    OnHighlightColor = 15391981
    OnShadowColor = 12027588
    OnFontColor = clRed
    ButtonStyle = bsToggle
    ButtonState = bstOn
    BlendRitu = 255
    ImageBlendRitu = 0
    Font2.Charset = SHIFTJIS_CHARSET
    Font2.Color = clWindowText
    Font2.Height = -12
    Font2.Name = 'ＭＳ Ｐゴシック'
    Font2.Style = []
    Font3.Charset = SHIFTJIS_CHARSET
    Font3.Color = clWindowText
    Font3.Height = -12
    Font3.Name = 'ＭＳ Ｐゴシック'
    Font3.Style = []
  end
  object Button1: TButton
    Left = 698
    Top = 23
    Width = 30
    Height = 21
    Caption = '終了'
    TabOrder = 1
    OnClick = Button1Click
  end
  object CheckBox1: TCheckBox
    Left = 684
    Top = 64
    Width = 43
    Height = 17
    Caption = '強調'
    Color = 7326443
    ParentColor = False
    TabOrder = 2
    OnClick = ComboBox1CloseUp
  end
  object ComboBox1: TComboBox
    Left = 614
    Top = 62
    Width = 70
    Height = 20
    Style = csDropDownList
    BevelInner = bvNone
    BevelOuter = bvNone
    Ctl3D = False
    ItemHeight = 12
    ItemIndex = 0
    TabOrder = 3
    OnCloseUp = ComboBox1CloseUp
    Items.Strings = (
      'SkyBlue'
      'Black'
      'Red'
      'Orchid'
      'TateGata')
  end
  object Button2: TButton
    Left = 661
    Top = 23
    Width = 18
    Height = 21
    Caption = '移'
    TabOrder = 4
    OnClick = Button2Click
  end
  object RadioButton2: TRadioButton
    Left = 650
    Top = 46
    Width = 35
    Height = 15
    Caption = '8升'
    Color = 7326443
    ParentColor = False
    TabOrder = 5
    OnClick = ComboBox1CloseUp
  end
  object RadioButton1: TRadioButton
    Left = 686
    Top = 46
    Width = 41
    Height = 15
    Caption = '16升'
    Checked = True
    Color = 7326443
    ParentColor = False
    TabOrder = 6
    TabStop = True
    OnClick = ComboBox1CloseUp
  end
  object RadioButton3: TRadioButton
    Left = 616
    Top = 46
    Width = 33
    Height = 15
    Caption = '大'
    Color = 7326443
    ParentColor = False
    TabOrder = 7
    OnClick = ComboBox1CloseUp
  end
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 33
    Height = 25
  end
end
