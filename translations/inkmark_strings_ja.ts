<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name></name>
    <message id="IDS_1">
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message id="IDS_2">
        <source>Bitmap File(*.BMP;*.RLE)~*.BMP;*.RLE~JPEG File(*.JPG)~*.JPG~Quorvel Logo File(*.QLF)~*.QLF~Other Picture(*.PNG;*.GIF;*.SVG)~*.PNG;*.GIF;*.SVG~</source>
        <translation>ビットマップファイル(*.BMP;*.RLE)~*.BMP;*.RLE~JPEGファイル(*.JPG)~*.JPG~Quorvelロゴファイル(*.QLF)~*.QLF~その他の画像(*.PNG;*.GIF;*.SVG)~*.PNG;*.GIF;*.SVG~</translation>
    </message>
    <message id="IDS_7">
        <source>Black</source>
        <translation>黒</translation>
    </message>
    <message id="IDS_8">
        <source>Red</source>
        <translation>赤</translation>
    </message>
    <message id="IDS_9">
        <source>Green</source>
        <translation>緑</translation>
    </message>
    <message id="IDS_10">
        <source>Blue</source>
        <translation>青</translation>
    </message>
    <message id="IDS_13">
        <source>Bitmap File(*.BMP)~*.BMP~ORC/POS Command File(*.BIN)~*.BIN~</source>
        <translation>ビットマップファイル(*.BMP)~*.BMP~ORC/POSコマンドファイル(*.BIN)~*.BIN~</translation>
    </message>
    <message id="IDS_14">
        <source>Save As</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message id="IDS_15">
        <source>Insufficient Memory.  Please increase Virtual Memory.</source>
        <translation>メモリが不足しています。仮想メモリを増やしてください。</translation>
    </message>
    <message id="IDS_16">
        <source>Printer information file(*.DEF) is missing.</source>
        <translation>プリンタ情報ファイル(*.DEF)がありません。</translation>
    </message>
    <message id="IDS_17">
        <source>Failed to delete NV graphics &quot;%s&quot;. Please confirm the printer settings.</source>
        <translation>NVグラフィックス &quot;%s&quot; の削除に失敗しました。プリンタの設定を確認してください。</translation>
    </message>
    <message id="IDS_19">
        <source>Input a two-digit character from 0x20 to 0x7e for the key.</source>
        <translation>キーには0x20から0x7eまでの文字を2文字入力してください。</translation>
    </message>
    <message id="IDS_20">
        <source>Failed to register NV graphics. Please confirm the printer settings.</source>
        <translation>NVグラフィックスの登録に失敗しました。プリンタの設定を確認してください。</translation>
    </message>
    <message id="IDS_21">
        <source>Do you want to delete NV graphics &quot;%s&quot; ?</source>
        <translation>NVグラフィックス &quot;%s&quot; を削除しますか?</translation>
    </message>
    <message id="IDS_23">
        <source>Test printing failure. Please confirm the printer settings.</source>
        <translation>テスト印刷に失敗しました。プリンタの設定を確認してください。</translation>
    </message>
    <message id="IDS_24">
        <source>Failed to print of NV graphics &quot;%s&quot; .</source>
        <translation>NVグラフィックス &quot;%s&quot; の印刷に失敗しました。</translation>
    </message>
    <message id="IDS_25">
        <source>Invalid file name.  Input a proper name.</source>
        <translation>ファイル名が正しくありません。正しい名前を入力してください。</translation>
    </message>
    <message id="IDS_26">
        <source>The application could not be initialized.</source>
        <translation>アプリケーションを初期化できませんでした。</translation>
    </message>
    <message id="IDS_27">
        <source>No Key code exist in NV graphics.</source>
        <translation>NVグラフィックスにキーコードがありません。</translation>
    </message>
    <message id="IDS_28">
        <source>The specified image file cannot be read.
The file may be corrupted, or the image format may not be supported.</source>
        <translation>指定された画像ファイルを読み込めません。
ファイルが壊れているか、対応していない画像形式の可能性があります。</translation>
    </message>
    <message id="IDS_29">
        <source>Insufficient NV graphics memory.</source>
        <translation>NVグラフィックスのメモリが不足しています。</translation>
    </message>
    <message id="IDS_30">
        <source>The registrable image data size for NV graphics is up to [%s]dot.</source>
        <translation>NVグラフィックスに登録できる画像データの大きさは[%s]ドットまでです。</translation>
    </message>
    <message id="IDS_31">
        <source>Specified key already exists.</source>
        <translation>指定されたキーはすでに登録されています。</translation>
    </message>
    <message id="IDS_32">
        <source>Failed to get key code list.</source>
        <translation>キーコード一覧を取得できませんでした。</translation>
    </message>
    <message id="IDS_33">
        <source>Failed to get NV graphics capacity.</source>
        <translation>NVグラフィックスの容量を取得できませんでした。</translation>
    </message>
    <message id="IDS_34">
        <source>Failed to open printer port.</source>
        <translation>プリンタポートを開けませんでした。</translation>
    </message>
    <message id="IDS_35">
        <source>The printer may still be waiting for the rest of the data. Switch it off and on before the next command.</source>
        <translation>プリンタが残りのデータを待っている可能性があります。次のコマンドの前にプリンタの電源を入れ直してください。</translation>
    </message>
    <message id="IDS_40">
        <source>&quot;%s&quot; is not a regular file and cannot be replaced. Choose another name.</source>
        <translation>&quot;%s&quot; は通常のファイルではないため置き換えられません。別の名前を選んでください。</translation>
    </message>
    <message id="IDS_41">
        <source>The file &quot;%s&quot; could not be written. A file of that name is left as it was.</source>
        <translation>ファイル &quot;%s&quot; を書き込めませんでした。同じ名前のファイルは元のままです。</translation>
    </message>
    <message id="IDS_42">
        <source>The temporary folder &quot;%s&quot; cannot be made private. Pictures cannot be shown.</source>
        <translation>一時フォルダ &quot;%s&quot; を非公開にできません。画像を表示できません。</translation>
    </message>
    <message id="IDS_43">
        <source>The temporary files could not be written: the disk that holds them is full.</source>
        <translation>一時ファイルを書き込めませんでした。一時ファイルを置くディスクがいっぱいです。</translation>
    </message>
    <message id="IDS_44">
        <source>The page cannot be fitted on the paper. Choose another paper width or layout.</source>
        <translation>ページを用紙に収められません。別の用紙幅またはレイアウトを選んでください。</translation>
    </message>
    <message id="IDS_45">
        <source>The registration of NV graphics was cancelled.</source>
        <translation>NVグラフィックスの登録をキャンセルしました。</translation>
    </message>
    <message id="IDS_46">
        <source>The test print was cancelled.</source>
        <translation>テスト印刷をキャンセルしました。</translation>
    </message>
</context>
</TS>
