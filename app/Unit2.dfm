object Form2: TForm2
  Left = 1271
  Top = 484
  BorderStyle = bsDialog
  Caption = '微調整'
  ClientHeight = 81
  ClientWidth = 115
  Color = 7326443
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 12
  object Button1: TButton
    Left = 28
    Top = 4
    Width = 25
    Height = 25
    Caption = '↑'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 52
    Top = 28
    Width = 25
    Height = 25
    Caption = '→'
    TabOrder = 1
    OnClick = Button2Click
  end
  object Button3: TButton
    Left = 28
    Top = 52
    Width = 25
    Height = 25
    Caption = '↓'
    TabOrder = 2
    OnClick = Button3Click
  end
  object Button4: TButton
    Left = 4
    Top = 28
    Width = 25
    Height = 25
    Caption = '←'
    TabOrder = 3
    OnClick = Button4Click
  end
  object Button5: TButton
    Left = 56
    Top = 4
    Width = 21
    Height = 21
    Caption = '斜'
    TabOrder = 4
    OnClick = Button5Click
  end
  object Button6: TButton
    Left = 56
    Top = 56
    Width = 21
    Height = 21
    Caption = '斜'
    TabOrder = 5
    OnClick = Button6Click
  end
  object Button7: TButton
    Left = 4
    Top = 4
    Width = 21
    Height = 21
    Caption = '斜'
    TabOrder = 6
    OnClick = Button7Click
  end
  object Button8: TButton
    Left = 3
    Top = 56
    Width = 21
    Height = 21
    Caption = '斜'
    TabOrder = 7
    OnClick = Button8Click
  end
end
